#include "shell/StatementList.h"

#include "sql/Connection.h"
#include "sql/Dialect.h"
#include "sql/Error.h"
#include "sql/Query.h"

#include <QRegularExpression>
#include <optional>

namespace shell {
namespace {

// One column of an "alter table ... add" entry: its name and its whole definition.
struct ColumnDefinition {
    QString name;
    QString definition;
};

struct AddColumns {
    QString table;
    QList<ColumnDefinition> columns;
};

struct DropColumn {
    QString table;
    QString column;
};

QString bareName(QString name) {
    if (name.startsWith(QLatin1Char('[')) && name.endsWith(QLatin1Char(']')))
        name = name.mid(1, name.size() - 2);
    return name;
}

// "A numeric, B decimal(18,2)" split at the commas outside parentheses.
QStringList splitDefinitions(const QString& text) {
    QStringList parts;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('('))
            ++depth;
        else if (text[i] == QLatin1Char(')'))
            --depth;
        else if (text[i] == QLatin1Char(',') && depth == 0) {
            parts << text.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    parts << text.mid(start).trimmed();
    return parts;
}

std::optional<AddColumns> parseAddColumns(const QString& entry) {
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*alter\s+table\s+(\S+)\s+add\s+(.+?)\s*;?\s*$)"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression columnKeyword(QStringLiteral(R"(^column\s+)"),
                                                  QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(entry);
    if (!match.hasMatch())
        return std::nullopt;
    AddColumns add{bareName(match.captured(1)), {}};
    for (QString definition : splitDefinitions(match.captured(2))) {
        definition.remove(columnKeyword);
        const QString name = bareName(definition.section(QLatin1Char(' '), 0, 0));
        if (name.isEmpty())
            return std::nullopt;
        add.columns.append({name, definition});
    }
    return add;
}

std::optional<DropColumn> parseDropColumn(const QString& entry) {
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*alter\s+table\s+(\S+)\s+drop\s+(?:column\s+)?(\S+?)\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(entry);
    if (!match.hasMatch())
        return std::nullopt;
    return DropColumn{bareName(match.captured(1)), bareName(match.captured(2))};
}

QStringList columnsOf(sql::Connection& connection, const QString& table) {
    QStringList names;
    sql::Query query(connection, QStringLiteral("select name from pragma_table_info(%1)").arg(sql::quoted(table)));
    while (query.next())
        names << query.value(0).toString();
    return names;
}

bool hasColumn(const QStringList& columns, const QString& name) {
    return columns.contains(name, Qt::CaseInsensitive);
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool laterEntryAddsBack(const QStringList& entries, qsizetype from, const DropColumn& drop) {
    for (qsizetype i = from; i < entries.size(); ++i) {
        const std::optional<AddColumns> add = parseAddColumns(entries[i]);
        if (!add || !sameName(add->table, drop.table))
            continue;
        for (const ColumnDefinition& column : add->columns)
            if (sameName(column.name, drop.column))
                return true;
    }
    return false;
}

bool runEntry(sql::Connection& connection, const QString& statement) {
    try {
        connection.execute(statement);
        return true;
    } catch (const sql::Error&) {
        return false;  // the entry's mark reports it
    }
}

// The statement an upgrade entry still needs; empty when its effect is already there.
QString neededPart(sql::Connection& connection, const QStringList& entries, qsizetype index) {
    const QString& entry = entries[index];
    if (const std::optional<AddColumns> add = parseAddColumns(entry)) {
        const QStringList present = columnsOf(connection, add->table);
        QStringList missing;
        for (const ColumnDefinition& column : add->columns)
            if (!hasColumn(present, column.name))
                missing << column.definition;
        if (missing.size() == add->columns.size())
            return entry;
        return missing.isEmpty() ? QString()
                                 : QStringLiteral("alter table %1 add %2").arg(add->table, missing.join(QLatin1Char(',')));
    }
    if (const std::optional<DropColumn> drop = parseDropColumn(entry)) {
        if (!hasColumn(columnsOf(connection, drop->table), drop->column) || laterEntryAddsBack(entries, index + 1, *drop))
            return QString();
    }
    return entry;
}

} // namespace

QStringList initialiseDocumentsStatements() {
    return {QStringLiteral("delete from xsd_zb"), QStringLiteral("delete from xsd_mx"), QString()};
}

QStringList initialiseAllStatements() {
    return {QStringLiteral("delete from xsd_zb"), QStringLiteral("delete from xsd_mx"), QStringLiteral("delete from BM_SP"),
            QStringLiteral("delete from BM_SPLB")};
}

QStringList upgradeStatements() {
    return {QStringLiteral("alter table BM_SP add TP varchar(255)"),
            QString(),
            QStringLiteral("ALTER TABLE XSD_MX DROP COLUMN SL"),
            QStringLiteral("alter table BM_SP add KCSL numeric,JCSL numeric"),
            QStringLiteral("alter table XSD_MX add KCSL numeric,ZZJ numeric,TS numeric,SL numeric"),
            QStringLiteral("update BM_SP set kcsl=1-1 where kcsl is null"),
            QStringLiteral("update BM_SP set jcsl=1-1 where jcsl is null")};
}

QList<bool> runStatementList(sql::Connection& connection, const QStringList& entries) {
    QList<bool> marks;
    for (const QString& entry : entries)
        marks << (entry.trimmed().isEmpty() || runEntry(connection, entry));
    return marks;
}

QList<bool> runUpgradeList(sql::Connection& connection, const QStringList& entries) {
    QList<bool> marks;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].trimmed().isEmpty()) {
            marks << true;
            continue;
        }
        try {
            const QString statement = neededPart(connection, entries, i);
            marks << (statement.isEmpty() || runEntry(connection, statement));
        } catch (const sql::Error&) {
            marks << false;  // the columns could not be read: the entry is marked failed
        }
    }
    return marks;
}

} // namespace shell
