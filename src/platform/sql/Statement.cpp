#include "sql/Statement.h"

#include "text/DateText.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <sqlite3.h>

namespace sql {
namespace {

int bindText(sqlite3_stmt* statement, int index, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    return sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

int bindValue(sqlite3_stmt* statement, int index, const QVariant& value) {
    if (value.isNull())
        return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::Bool:
        return sqlite3_bind_int(statement, index, value.toBool() ? 1 : 0);
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::Float:
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::QDate:  // dates are bound in their stored form, so they compare with stored dates
        return bindText(statement, index, text::shortDateText(value.toDate()));
    case QMetaType::QDateTime:
        return bindText(statement, index, text::storedDateText(value.toDateTime()));
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    default:  // text is data: bound exactly as given, even when it looks like a date
        return bindText(statement, index, value.toString());
    }
}

} // namespace

QString engineMessage(sqlite3* db) {
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
}

sqlite3_stmt* prepareSingle(sqlite3* db, const QString& sqliteText) {
    const QByteArray utf8 = sqliteText.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &statement, &tail) != SQLITE_OK)
        throw Error(engineMessage(db));
    if (!statement)
        throw Error(QStringLiteral("语句为空"));
    const QString rest = QString::fromUtf8(tail, utf8.constData() + utf8.size() - tail).trimmed();
    if (!rest.isEmpty() && rest != QLatin1String(";")) {
        sqlite3_finalize(statement);
        throw Error(QStringLiteral("一次只能执行一条语句：%1").arg(rest));
    }
    return statement;
}

QSet<QString> bindParams(sqlite3* db, sqlite3_stmt* statement, const Params& params) {
    QSet<QString> used;
    const int count = sqlite3_bind_parameter_count(statement);
    for (int index = 1; index <= count; ++index) {
        const char* rawName = sqlite3_bind_parameter_name(statement, index);
        const QString name = rawName ? QString::fromUtf8(rawName).mid(1) : QString();
        const auto given = std::find_if(params.cbegin(), params.cend(), [&](const auto& param) {
            return param.first.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (name.isEmpty() || given == params.cend())
            throw Error(QStringLiteral("参数 :%1 没有给出值").arg(name));
        if (bindValue(statement, index, given->second) != SQLITE_OK)
            throw Error(engineMessage(db));
        used.insert(name.toLower());
    }
    return used;
}

void checkAllParamsUsed(const Params& params, const QSet<QString>& used) {
    for (const auto& param : params) {
        if (!used.contains(param.first.toLower()))
            throw Error(QStringLiteral("语句中没有参数 :%1").arg(param.first));
    }
}

bool stepStatement(sqlite3* db, sqlite3_stmt* statement) {
    switch (sqlite3_step(statement)) {
    case SQLITE_ROW:
        return true;
    case SQLITE_DONE:
        return false;
    default:
        throw Error(engineMessage(db));
    }
}

} // namespace sql
