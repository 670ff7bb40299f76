#include "shell/AccountSet.h"

#include "sql/Connection.h"
#include "sql/Dialect.h"
#include "sql/Error.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

namespace shell {
namespace {

struct ColumnDef {
    const char* name;
    const char* type;  // declared type as the account set keeps it
};

struct TableDef {
    const char* name;
    std::initializer_list<ColumnDef> columns;
};

const TableDef kTables[] = {
    {"XSD_ZB",
     {{"ID", "text(16)"}, {"RQ", "date"}, {"JBR", "text(50)"}, {"ZDR", "text(50)"},
      {"KHMC", "text(50)"}, {"KHDZ", "text(50)"}, {"KHDH", "text(50)"}, {"KHZJ", "text(50)"},
      {"KHBZR", "text(50)"}, {"KHQT", "text(50)"}, {"ZJRQ", "date"}, {"GHRQ", "date"},
      {"ZJTS", "decimal(18,2)"}, {"YYSK", "decimal(18,2)"}, {"YYSK_RQ", "date"},
      {"SSYJ", "decimal(18,2)"}, {"SS", "decimal(18,2)"}, {"SS_RQ", "date"},
      {"QXSK", "decimal(18,2)"}, {"QXSK_RQ", "date"}, {"BZ", "text(50)"},
      {"YYSH", "text(50)"}, {"SH", "text(50)"}, {"QX", "text(50)"},
      {"YSYJ", "decimal(18,2)"}, {"YS", "decimal(18,2)"}, {"YSZJ", "decimal(18,2)"},
      {"SSJE", "decimal(18,2)"}, {"WFJE", "decimal(18,2)"}}},
    {"XSD_MX",
     {{"ID", "text(16)"}, {"SPBM", "text(50)"}, {"SPMC", "text(50)"}, {"TXM", "text(50)"},
      {"DW", "text(50)"}, {"CBJ", "decimal(18,2)"}, {"KCSL", "decimal(18,2)"},
      {"SL", "decimal(18,2)"}, {"TS", "decimal(18,2)"}, {"YJ", "decimal(18,2)"},
      {"ZJ", "decimal(18,2)"}, {"ZZJ", "decimal(18,2)"}, {"BZ", "text(50)"}}},
    {"BM_SP",
     {{"BM", "text(50)"}, {"MC", "text(100)"}, {"TXM", "text(50)"}, {"DW", "text(100)"},
      {"CBJ", "decimal(18,2)"}, {"YJ", "decimal(18,2)"}, {"ZJ", "decimal(18,2)"},
      {"KCSL", "decimal(18,2)"}, {"JCSL", "decimal(18,2)"}, {"JP", "text(50)"},
      {"LB", "text(50)"}, {"TP", "text(255)"}}},
    {"BM_SPLB", {{"BM", "text(50)"}, {"MC", "text(50)"}}},
    {"BM_YG",
     {{"BM", "text(50)"}, {"MC", "text(50)"}, {"DLMC", "text(50)"}, {"MM", "text(50)"},
      {"DH", "text(50)"}, {"DZ", "text(50)"}, {"SR", "date"}, {"SRBZ", "date"},
      {"BZ", "text(50)"}}},
    {"BM_GSXX",
     {{"GSMC", "text(100)"}, {"DZ", "text(255)"}, {"DH", "text(100)"}, {"LOG", "text(255)"},
      {"BF", "text(255)"}}},
    {"BM_JP", {{"MC", "text(10)"}, {"JP", "text(10)"}}},
    {"GG_DJ", {{"DM", "text(10)"}, {"MC", "text(50)"}, {"DZ", "text(100)"}}},
};

// Unique keys the program relies on, and the indexes its queries use.
const char* const kIndexes[] = {
    "CREATE UNIQUE INDEX XSD_ZB_ID ON XSD_ZB(ID)",
    "CREATE UNIQUE INDEX BM_SP_BM ON BM_SP(BM)",
    "CREATE UNIQUE INDEX BM_SPLB_BM ON BM_SPLB(BM)",
    "CREATE UNIQUE INDEX BM_YG_BM ON BM_YG(BM)",
    "CREATE UNIQUE INDEX BM_JP_MC ON BM_JP(MC)",
    "CREATE UNIQUE INDEX GG_DJ_DM ON GG_DJ(DM)",
    "CREATE INDEX XSD_ZB_RQ ON XSD_ZB(RQ)",
    "CREATE INDEX XSD_MX_ID ON XSD_MX(ID)",
    "CREATE INDEX XSD_MX_SPBM ON XSD_MX(SPBM)",
};

int textWidth(const char* type) {
    const QString declared = QString::fromLatin1(type);
    if (!declared.startsWith(QLatin1String("text(")))
        return 0;
    return declared.mid(5, declared.size() - 6).toInt();
}

// Text compares without regard to case, as the desktop engine did ("SA" finds the
// login "sa"); a too-long text is refused by the engine with a message naming the column.
QString columnDefinition(const TableDef& table, const ColumnDef& column) {
    QString definition = QStringLiteral("%1 %2").arg(QLatin1String(column.name), QLatin1String(column.type));
    if (const int width = textWidth(column.type))
        definition += QStringLiteral(" COLLATE NOCASE ")
                      + sql::widthConstraint(QLatin1String(table.name), QLatin1String(column.name), width);
    return definition;
}

void insertPinyin(sql::Connection& connection) {
    QFile file(QStringLiteral(":/accountset/bm_jp.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        throw sql::Error(QStringLiteral("缺少拼音简码数据"));
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    QStringList values;
    while (!in.atEnd()) {
        const QStringList fields = in.readLine().split(QLatin1Char('\t'));
        if (fields.size() == 2)
            values << QStringLiteral("(%1,%2)").arg(sql::quoted(fields[0]), sql::quoted(fields[1]));
    }
    constexpr int kRowsPerStatement = 500;
    for (int i = 0; i < values.size(); i += kRowsPerStatement)
        connection.executeNative(QStringLiteral("INSERT INTO BM_JP(MC,JP) VALUES ")
                                 + values.mid(i, kRowsPerStatement).join(QLatin1Char(',')));
}

} // namespace

void createSchema(sql::Connection& connection) {
    QStringList statements;
    for (const TableDef& table : kTables) {
        QStringList columns;
        for (const ColumnDef& column : table.columns)
            columns << columnDefinition(table, column);
        statements << QStringLiteral("CREATE TABLE %1 (\n  %2\n)")
                          .arg(QLatin1String(table.name), columns.join(QStringLiteral(",\n  ")));
    }
    for (const char* index : kIndexes)
        statements << QLatin1String(index);
    connection.executeNative(statements.join(QStringLiteral(";\n")) + QLatin1Char(';'));
}

void fillInitialContent(sql::Connection& connection, bool withPinyin) {
    connection.executeNative(QStringLiteral(
        "INSERT INTO BM_GSXX(GSMC,DZ,DH,LOG,BF) VALUES ('禾岚影楼','','','image.jpg','');"
        "INSERT INTO BM_YG(BM,MC,DLMC,MM) VALUES ('001','系统管理员','sa','592');"
        "INSERT INTO GG_DJ(DM,MC,DZ) VALUES ('xsd','出租、归还单','xsd.frf');"
        "INSERT INTO GG_DJ(DM,MC,DZ) VALUES ('bb_xsd','出租、归还单查询','bb_xsd.frf');"
        "INSERT INTO GG_DJ(DM,MC,DZ) VALUES ('bb_xsdmx','出租、归还单明细查询','bb_xsdmx.frf');"));
    if (withPinyin)
        insertPinyin(connection);
}

void createAccountSet(const QString& path, bool withPinyin) {
    if (QFile::exists(path))
        throw sql::Error(QStringLiteral("帐套文件已存在：%1").arg(path));
    sql::Connection connection;
    connection.openFile(path, true);
    connection.beginTransaction();
    try {
        createSchema(connection);
        fillInitialContent(connection, withPinyin);
        connection.commit();
    } catch (const sql::Error&) {
        connection.rollback();
        connection.close();
        QFile::remove(path);
        throw;
    }
}

bool isAccountSet(sql::Connection& connection) {
    for (const char* table : kAccountSetTables) {
        const QVariant found = connection.scalar(
            QStringLiteral("select count(*) from sqlite_master where type='table' and name=%1 collate nocase")
                .arg(sql::quoted(QLatin1String(table))));
        if (found.toInt() == 0)
            return false;
    }
    return true;
}

} // namespace shell
