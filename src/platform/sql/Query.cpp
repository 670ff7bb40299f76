#include "sql/Query.h"

#include "sql/Dialect.h"
#include "sql/Statement.h"

#include <sqlite3.h>

namespace sql {
namespace {

QString utf8OrEmpty(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

FieldType typeOfStoredValue(int storageClass) {
    switch (storageClass) {
    case SQLITE_INTEGER:
        return FieldType::Integer;
    case SQLITE_FLOAT:
        return FieldType::Float;
    case SQLITE_TEXT:
        return FieldType::Text;
    case SQLITE_BLOB:
        return FieldType::Blob;
    default:
        return FieldType::Unknown;
    }
}

} // namespace

Query::Query(Connection& connection, const QString& statement, const Params& params)
    : connection_(connection) {
    if (!connection_.isOpen())
        throw Error(QStringLiteral("帐套没有打开"));
    const QStringList statements = translate(statement);
    if (statements.size() != 1)
        throw Error(QStringLiteral("查询只能是一条语句：%1").arg(statement));
    sqlite3* db = connection_.handle();
    statement_ = prepareSingle(db, statements.first());
    try {
        checkAllParamsUsed(params, bindParams(db, statement_, params));
        readColumns();
        firstRowWaiting_ = stepStatement(db, statement_);
        atEnd_ = !firstRowWaiting_;
    } catch (const Error&) {
        sqlite3_finalize(statement_);
        throw;
    }
    if (firstRowWaiting_)
        settleComputedTypes();
}

Query::~Query() {
    sqlite3_finalize(statement_);
}

void Query::readColumns() {
    const int count = sqlite3_column_count(statement_);
    for (int i = 0; i < count; ++i) {
        ColumnInfo column;
        column.name = utf8OrEmpty(sqlite3_column_name(statement_, i));
        column.declaredType = utf8OrEmpty(sqlite3_column_decltype(statement_, i));
        column.table = utf8OrEmpty(sqlite3_column_table_name(statement_, i));
        column.originName = utf8OrEmpty(sqlite3_column_origin_name(statement_, i));
        if (!column.declaredType.isEmpty())
            column.type = fieldTypeOfDeclared(column.declaredType, &column.width);
        columns_.append(column);
    }
}

void Query::settleComputedTypes() {
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].declaredType.isEmpty())
            columns_[i].type = typeOfStoredValue(sqlite3_column_type(statement_, i));
    }
}

int Query::indexOf(const QString& name) const {
    for (int i = 0; i < columns_.size(); ++i) {
        if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool Query::next() {
    if (firstRowWaiting_) {
        firstRowWaiting_ = false;
        onRow_ = true;
        return true;
    }
    if (atEnd_)
        return false;
    onRow_ = stepStatement(connection_.handle(), statement_);
    atEnd_ = !onRow_;
    return onRow_;
}

QVariant Query::value(int column) const {
    if (!onRow_ || column < 0 || column >= columns_.size())
        return QVariant();
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement_, column));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement_, column)),
                                          sqlite3_column_bytes(statement_, column)));
    case SQLITE_BLOB: {
        const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(statement_, column)));
    }
    default:
        return QVariant();
    }
}

} // namespace sql
