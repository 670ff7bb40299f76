// The connection and query layer over SQLite: opening, transactions, parameters,
// whole-file copies and column metadata.
#include "sql/Column.h"
#include "sql/Connection.h"
#include "sql/Error.h"
#include "sql/Query.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using sql::FieldType;

Q_DECLARE_METATYPE(sql::FieldType)

namespace {

// A small file with one table in the account set's declared types.
void createSample(const QString& path) {
    sql::Connection connection;
    connection.openFile(path, true);
    connection.executeNative("CREATE TABLE XSD_ZB (ID text(16), RQ date, ZJTS decimal(18,2), SH text(50));");
}

int rowCount(sql::Connection& connection) {
    return connection.scalar("select count(*) from xsd_zb").toInt();
}

} // namespace

class TestConnection : public QObject {
    Q_OBJECT

private slots:
    void init();

    void dataSourceOfConnectionString_data();
    void dataSourceOfConnectionString();
    void openByConnectionString();
    void openMissingFileFailsAndCreatesNothing();
    void openFileThatIsNoDatabaseFails();
    void usesTheRollbackJournal();

    void rollbackUndoes();
    void commitKeeps();
    void nestedBeginRefused();
    void commitWithoutTransactionRefusedRollbackHarmless();
    void multiStatementTextUndoneWithTheTransaction();

    void paramBinding_data();
    void paramBinding();
    void paramNamesIgnoreCase();
    void missingOrUnusedParamRefused_data();
    void missingOrUnusedParamRefused();

    void copyHoldsCommittedRows();
    void copyReplacesAnExistingFile();
    void copyRefusedInTransactionOrOntoItself();

    void declaredTypes_data();
    void declaredTypes();
    void columnMetadataOfTableColumns();
    void computedColumnsTypedByFirstValue();
    void valuesComeAsStored();
    void queryWalksForwardOnce();
    void queryMustBeOneStatement_data();
    void queryMustBeOneStatement();

private:
    QTemporaryDir dir_;
    QString path_;
};

void TestConnection::init() {
    QVERIFY(dir_.isValid());
    path_ = dir_.filePath(QString("%1.mdb").arg(QTest::currentTestFunction()));
    QFile::remove(path_);
    createSample(path_);
}

void TestConnection::dataSourceOfConnectionString_data() {
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("dataSource");
    QTest::newRow("desktop form")
        << R"(Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\hl\data\data.mdb;Jet OLEDB:Database Password=abc)"
        << "D:/hl/data/data.mdb";
    QTest::newRow("any case, blanks") << "provider=x; data source = /srv/a b/data.mdb ;" << "/srv/a b/data.mdb";
    QTest::newRow("quoted") << R"(Data Source="/srv/data.mdb")" << "/srv/data.mdb";
    QTest::newRow("none") << "Provider=Microsoft.Jet.OLEDB.4.0" << "";
}

void TestConnection::dataSourceOfConnectionString() {
    QFETCH(QString, connectionString);
    QFETCH(QString, dataSource);
    QCOMPARE(sql::Connection::dataSourceOf(connectionString), dataSource);
}

void TestConnection::openByConnectionString() {
    sql::Connection connection;
    connection.open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path_ + ";Jet OLEDB:Database Password=x");
    QVERIFY(connection.isOpen());
    QCOMPARE(connection.filePath(), path_);
    QCOMPARE(rowCount(connection), 0);
    connection.close();
    QVERIFY(!connection.isOpen());
}

void TestConnection::openMissingFileFailsAndCreatesNothing() {
    const QString missing = dir_.filePath("missing/data.mdb");
    sql::Connection connection;
    try {
        connection.open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + missing);
        QFAIL("a missing file opened");
    } catch (const sql::Error& error) {
        QVERIFY2(error.message().contains("帐套文件不存在"), qPrintable(error.message()));
        QVERIFY2(error.message().contains(missing), qPrintable(error.message()));
        QVERIFY2(error.message().contains("unable to open"), qPrintable(error.message()));
    }
    QVERIFY(!connection.isOpen());
    QVERIFY(!QFile::exists(missing));

    const QString missingHere = dir_.filePath("absent.mdb");
    QVERIFY_THROWS_EXCEPTION(sql::Error, connection.openFile(missingHere));
    QVERIFY(!QFile::exists(missingHere));
}

void TestConnection::openFileThatIsNoDatabaseFails() {
    const QString path = dir_.filePath("notes.mdb");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    sql::Connection connection;
    try {
        connection.openFile(path);
        QFAIL("a text file opened as an account set");
    } catch (const sql::Error& error) {
        QVERIFY2(error.message().contains("无法打开帐套文件"), qPrintable(error.message()));
        QVERIFY2(error.message().contains("not a database"), qPrintable(error.message()));
    }
    QVERIFY(!connection.isOpen());
}

void TestConnection::usesTheRollbackJournal() {
    sql::Connection connection;
    connection.openFile(path_);
    QCOMPARE(connection.scalar("PRAGMA journal_mode").toString(), QString("delete"));
}

void TestConnection::rollbackUndoes() {
    sql::Connection connection;
    connection.openFile(path_);
    connection.beginTransaction();
    QVERIFY(connection.inTransaction());
    QCOMPARE(connection.execute(R"(insert into xsd_zb(id) values ("1"))"), 1);
    QCOMPARE(rowCount(connection), 1);
    connection.rollback();
    QVERIFY(!connection.inTransaction());
    QCOMPARE(rowCount(connection), 0);
}

void TestConnection::commitKeeps() {
    {
        sql::Connection connection;
        connection.openFile(path_);
        connection.beginTransaction();
        connection.execute(R"(insert into xsd_zb(id) values ("1"))");
        connection.commit();
        QVERIFY(!connection.inTransaction());
    }
    sql::Connection reopened;
    reopened.openFile(path_);
    QCOMPARE(rowCount(reopened), 1);
}

void TestConnection::nestedBeginRefused() {
    sql::Connection connection;
    connection.openFile(path_);
    connection.beginTransaction();
    connection.execute(R"(insert into xsd_zb(id) values ("1"))");
    QVERIFY_THROWS_EXCEPTION(sql::Error, connection.beginTransaction());
    // The first transaction is still the one that is open.
    QVERIFY(connection.inTransaction());
    connection.rollback();
    QCOMPARE(rowCount(connection), 0);
}

void TestConnection::commitWithoutTransactionRefusedRollbackHarmless() {
    sql::Connection connection;
    connection.openFile(path_);
    QVERIFY_THROWS_EXCEPTION(sql::Error, connection.commit());
    connection.rollback();
    QVERIFY(!connection.inTransaction());
}

void TestConnection::multiStatementTextUndoneWithTheTransaction() {
    sql::Connection connection;
    connection.openFile(path_);
    connection.beginTransaction();
    connection.execute("alter table XSD_ZB add A numeric, B numeric");
    QVERIFY(connection.inTransaction());
    QCOMPARE(connection.scalar("select count(*) from pragma_table_info('XSD_ZB') where name in ('A','B')").toInt(), 2);
    connection.rollback();
    QCOMPARE(connection.scalar("select count(*) from pragma_table_info('XSD_ZB') where name in ('A','B')").toInt(), 0);
}

void TestConnection::paramBinding_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("storageClass");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("date text") << QVariant("2026-12-11") << "text" << QVariant("2026-12-11");
    QTest::newRow("text in another date form stays as given") << QVariant("2026/12/1") << "text" << QVariant("2026/12/1");
    QTest::newRow("remark that looks like a date") << QVariant("2024.1.5") << "text" << QVariant("2024.1.5");
    QTest::newRow("plain text") << QVariant("o'brien") << "text" << QVariant("o'brien");
    QTest::newRow("number-like text stays text") << QVariant("007") << "text" << QVariant("007");
    QTest::newRow("QDate") << QVariant(QDate(2026, 12, 11)) << "text" << QVariant("2026-12-11");
    QTest::newRow("QDateTime") << QVariant(QDateTime(QDate(2026, 12, 11), QTime(9, 30))) << "text"
                               << QVariant("2026-12-11 09:30:00");
    QTest::newRow("integer") << QVariant(5) << "integer" << QVariant(qlonglong(5));
    QTest::newRow("double") << QVariant(2.5) << "real" << QVariant(2.5);
    QTest::newRow("null") << QVariant() << "null" << QVariant();
}

void TestConnection::paramBinding() {
    QFETCH(QVariant, value);
    QFETCH(QString, storageClass);
    QFETCH(QVariant, stored);
    sql::Connection connection;
    connection.openFile(path_);
    QCOMPARE(connection.scalar("select typeof(:v)", {{"v", value}}).toString(), storageClass);
    QCOMPARE(connection.scalar("select :v", {{"v", value}}), stored);
}

void TestConnection::paramNamesIgnoreCase() {
    sql::Connection connection;
    connection.openFile(path_);
    connection.execute("insert into xsd_zb(id, rq) values (:id, :rq)", {{"ID", "1"}, {"Rq", QDate(2026, 12, 11)}});
    QCOMPARE(connection.scalar("select id from xsd_zb where rq>=:rq1 and rq<=:rq2",
                               {{"rq1", "2026-12-11"}, {"rq2", "2026-12-11"}}),
             QVariant("1"));
}

void TestConnection::missingOrUnusedParamRefused_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << "select :a, :b" << "a";
    QTest::newRow("unused") << "select :a" << "z";
}

void TestConnection::missingOrUnusedParamRefused() {
    QFETCH(QString, statement);
    QFETCH(QString, name);
    sql::Connection connection;
    connection.openFile(path_);
    QVERIFY_THROWS_EXCEPTION(sql::Error, connection.scalar(statement, {{name, 1}}));
    QVERIFY_THROWS_EXCEPTION(sql::Error, connection.execute("insert into xsd_zb(id) values (:a)", {{"z", 1}}));
    QCOMPARE(rowCount(connection), 0);
}

void TestConnection::copyHoldsCommittedRows() {
    const QString target = dir_.filePath("copy.bak");
    QFile::remove(target);
    {
        sql::Connection connection;
        connection.openFile(path_);
        connection.execute(R"(insert into xsd_zb(id, rq, zjts) values ("1", #2026-12-11#, 2.5))");
        connection.copyTo(target);
        QVERIFY(connection.isOpen());
    }
    sql::Connection copy;
    copy.openFile(target);
    sql::Query query(copy, "select id, rq, zjts from xsd_zb");
    QVERIFY(query.next());
    QCOMPARE(query.value(0), QVariant("1"));
    QCOMPARE(query.value(1), QVariant("2026-12-11"));
    QCOMPARE(query.value(2), QVariant(2.5));
    QVERIFY(!query.next());
    QCOMPARE(query.columns().at(2).declaredType, QString("decimal(18,2)"));
}

void TestConnection::copyReplacesAnExistingFile() {
    const QString target = dir_.filePath("replaced.bak");
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older backup that is no database");
    old.close();
    sql::Connection connection;
    connection.openFile(path_);
    connection.execute(R"(insert into xsd_zb(id) values ("7"))");
    connection.copyTo(target);
    QVERIFY(!QFile::exists(target + ".part"));
    sql::Connection copy;
    copy.openFile(target);
    QCOMPARE(copy.scalar("select id from xsd_zb"), QVariant("7"));
}

void TestConnection::copyRefusedInTransactionOrOntoItself() {
    const QString target = dir_.filePath("refused.bak");
    sql::Connection connection;
    connection.openFile(path_);
    connection.beginTransaction();
    connection.execute(R"(insert into xsd_zb(id) values ("uncommitted"))");
    QVERIFY_THROWS_EXCEPTION(sql::Error, connection.copyTo(target));
    QVERIFY(!QFile::exists(target));
    connection.rollback();
    QVERIFY_THROWS_EXCEPTION(sql::Error, connection.copyTo(path_));
    QCOMPARE(rowCount(connection), 0);
}

void TestConnection::declaredTypes_data() {
    QTest::addColumn<QString>("declared");
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<int>("width");
    QTest::newRow("text(50)") << "text(50)" << FieldType::Text << 50;
    QTest::newRow("TEXT(16)") << "TEXT(16)" << FieldType::Text << 16;
    QTest::newRow("varchar(255)") << "varchar(255)" << FieldType::Text << 255;
    QTest::newRow("text") << "text" << FieldType::Text << 0;
    QTest::newRow("memo") << "memo" << FieldType::Text << 0;
    QTest::newRow("decimal(18,2)") << "decimal(18,2)" << FieldType::Decimal << 0;
    QTest::newRow("numeric") << "numeric" << FieldType::Decimal << 0;
    QTest::newRow("currency") << "currency" << FieldType::Decimal << 0;
    QTest::newRow("date") << "date" << FieldType::Date << 0;
    QTest::newRow("datetime") << "datetime" << FieldType::DateTime << 0;
    QTest::newRow("integer") << "integer" << FieldType::Integer << 0;
    QTest::newRow("int") << "int" << FieldType::Integer << 0;
    QTest::newRow("long") << "long" << FieldType::Integer << 0;
    QTest::newRow("double") << "double" << FieldType::Float << 0;
    QTest::newRow("float") << "float" << FieldType::Float << 0;
    QTest::newRow("real") << "real" << FieldType::Float << 0;
    QTest::newRow("bit") << "bit" << FieldType::Boolean << 0;
    QTest::newRow("boolean") << "boolean" << FieldType::Boolean << 0;
    QTest::newRow("yesno") << "yesno" << FieldType::Boolean << 0;
    QTest::newRow("blob") << "blob" << FieldType::Blob << 0;
    QTest::newRow("unknown") << "geometry" << FieldType::Unknown << 0;
}

void TestConnection::declaredTypes() {
    QFETCH(QString, declared);
    QFETCH(FieldType, type);
    QFETCH(int, width);
    int foundWidth = -1;
    QCOMPARE(sql::fieldTypeOfDeclared(declared, &foundWidth), type);
    QCOMPARE(foundWidth, width);
    QCOMPARE(sql::fieldTypeOfDeclared(declared), type);
}

void TestConnection::columnMetadataOfTableColumns() {
    sql::Connection connection;
    connection.openFile(path_);
    // An empty result still knows its columns.
    sql::Query query(connection, "select ID as num, RQ, ZJTS, sh from xsd_zb");
    QCOMPARE(query.columnCount(), 4);
    const QList<sql::ColumnInfo>& columns = query.columns();
    QCOMPARE(columns[0].name, QString("num"));
    QCOMPARE(columns[0].originName, QString("ID"));
    QCOMPARE(columns[0].table, QString("XSD_ZB"));
    QCOMPARE(columns[0].declaredType, QString("text(16)"));
    QCOMPARE(columns[0].type, FieldType::Text);
    QCOMPARE(columns[0].width, 16);
    QCOMPARE(columns[1].type, FieldType::Date);
    QCOMPARE(columns[2].declaredType, QString("decimal(18,2)"));
    QCOMPARE(columns[2].type, FieldType::Decimal);
    QCOMPARE(columns[2].width, 0);
    QCOMPARE(columns[3].originName, QString("SH"));
    QCOMPARE(columns[3].width, 50);
    QCOMPARE(query.indexOf("NUM"), 0);
    QCOMPARE(query.indexOf("Zjts"), 2);
    QCOMPARE(query.indexOf("sh"), 3);
    QCOMPARE(query.indexOf("absent"), -1);
    QVERIFY(!query.next());
}

void TestConnection::computedColumnsTypedByFirstValue() {
    sql::Connection connection;
    connection.openFile(path_);
    sql::Query query(connection, R"(select 1+1 as a, 2.5 as b, "x" as c, null as d, count(*) as e from xsd_zb)");
    const QList<sql::ColumnInfo>& columns = query.columns();
    QCOMPARE(columns[0].type, FieldType::Integer);
    QCOMPARE(columns[1].type, FieldType::Float);
    QCOMPARE(columns[2].type, FieldType::Text);
    QCOMPARE(columns[3].type, FieldType::Unknown);
    QCOMPARE(columns[4].type, FieldType::Integer);
    for (const sql::ColumnInfo& column : columns) {
        QVERIFY(column.declaredType.isEmpty());
        QVERIFY(column.table.isEmpty());
    }
}

void TestConnection::valuesComeAsStored() {
    sql::Connection connection;
    connection.openFile(path_);
    connection.execute(R"(insert into xsd_zb(id, rq, zjts, sh) values ("20261211001", #2026-12-11#, 3, null))");
    sql::Query query(connection, "select id, rq, zjts, sh, x'00ff' from xsd_zb");
    QVERIFY(query.next());
    QCOMPARE(query.value(0).typeId(), int(QMetaType::QString));
    QCOMPARE(query.value(0), QVariant("20261211001"));
    QCOMPARE(query.value(1), QVariant("2026-12-11"));
    QCOMPARE(query.value(2), QVariant(qlonglong(3)));
    QVERIFY(query.value(3).isNull());
    QCOMPARE(query.value(4), QVariant(QByteArray("\x00\xff", 2)));
    QVERIFY(query.value(9).isNull());
}

void TestConnection::queryWalksForwardOnce() {
    sql::Connection connection;
    connection.openFile(path_);
    connection.execute(R"(insert into xsd_zb(id) values ("1"), ("2"), ("3"))");
    sql::Query query(connection, "select id from xsd_zb order by id desc");
    QStringList ids;
    while (query.next())
        ids << query.value(0).toString();
    QCOMPARE(ids, QStringList({"3", "2", "1"}));
    QVERIFY(!query.next());
    QVERIFY(query.value(0).isNull());
}

void TestConnection::queryMustBeOneStatement_data() {
    QTest::addColumn<QString>("statement");
    QTest::newRow("alter of two columns") << "alter table xsd_zb add a numeric, b numeric";
    QTest::newRow("two selects") << "select 1; select 2";
    QTest::newRow("syntax error") << "select from where";
}

void TestConnection::queryMustBeOneStatement() {
    QFETCH(QString, statement);
    sql::Connection connection;
    connection.openFile(path_);
    QVERIFY_THROWS_EXCEPTION(sql::Error, sql::Query(connection, statement));
    QCOMPARE(connection.scalar("select count(*) from pragma_table_info('XSD_ZB')").toInt(), 4);
}

QTEST_GUILESS_MAIN(TestConnection)
#include "test_connection.moc"
