#include "sql/DesktopFunctions.h"

#include "sql/Error.h"
#include "text/DateText.h"

#include <QByteArray>
#include <QDateTime>
#include <sqlite3.h>

namespace sql {
namespace {

using Callback = void (*)(sqlite3_context*, int, sqlite3_value**);

QString textOf(sqlite3_value* value) {
    const auto* data = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return QString::fromUtf8(data, sqlite3_value_bytes(value));
}

bool isNull(sqlite3_value* value) {
    return sqlite3_value_type(value) == SQLITE_NULL;
}

void resultText(sqlite3_context* context, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* context, const QString& message) {
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(context, utf8.constData(), int(utf8.size()));
}

void now(sqlite3_context* context, int, sqlite3_value**) {
    resultText(context, text::dateTimeText(QDateTime::currentDateTime()));
}

void today(sqlite3_context* context, int, sqlite3_value**) {
    resultText(context, text::shortDateText(QDate::currentDate()));
}

// Year, Month and Day read a stored date text; null stays null.
template <int (QDate::*part)() const>
void datePart(sqlite3_context* context, int, sqlite3_value** args) {
    if (isNull(args[0]))
        return sqlite3_result_null(context);
    const auto date = text::parseDate(textOf(args[0]));
    if (!date)
        return resultError(context, QStringLiteral("不是日期：%1").arg(textOf(args[0])));
    sqlite3_result_int(context, ((*date).*part)());
}

void length(sqlite3_context* context, int, sqlite3_value** args) {
    if (isNull(args[0]))
        return sqlite3_result_null(context);
    sqlite3_result_int64(context, textOf(args[0]).size());
}

// Mid(text, start[, count]): start counts from 1; without count, to the end.
void mid(sqlite3_context* context, int count, sqlite3_value** args) {
    if (isNull(args[0]) || isNull(args[1]) || (count == 3 && isNull(args[2])))
        return sqlite3_result_null(context);
    const qint64 start = sqlite3_value_int64(args[1]);
    const qint64 length = count == 3 ? sqlite3_value_int64(args[2]) : -1;
    if (start < 1 || (count == 3 && length < 0))
        return resultError(context, QStringLiteral("Mid 的起始位置或长度无效"));
    resultText(context, textOf(args[0]).mid(start - 1, length));
}

void left(sqlite3_context* context, int, sqlite3_value** args) {
    if (isNull(args[0]) || isNull(args[1]))
        return sqlite3_result_null(context);
    const qint64 count = sqlite3_value_int64(args[1]);
    if (count < 0)
        return resultError(context, QStringLiteral("Left 的长度无效"));
    resultText(context, textOf(args[0]).left(count));
}

void right(sqlite3_context* context, int, sqlite3_value** args) {
    if (isNull(args[0]) || isNull(args[1]))
        return sqlite3_result_null(context);
    const qint64 count = sqlite3_value_int64(args[1]);
    if (count < 0)
        return resultError(context, QStringLiteral("Right 的长度无效"));
    resultText(context, textOf(args[0]).right(count));
}

void upper(sqlite3_context* context, int, sqlite3_value** args) {
    if (isNull(args[0]))
        return sqlite3_result_null(context);
    resultText(context, textOf(args[0]).toUpper());
}

void lower(sqlite3_context* context, int, sqlite3_value** args) {
    if (isNull(args[0]))
        return sqlite3_result_null(context);
    resultText(context, textOf(args[0]).toLower());
}

// IIf(condition, whenTrue, whenFalse): a null or zero condition is false.
void iif(sqlite3_context* context, int, sqlite3_value** args) {
    const bool condition = !isNull(args[0]) && sqlite3_value_double(args[0]) != 0.0;
    sqlite3_result_value(context, condition ? args[1] : args[2]);
}

// Nz(value[, default]): without a default, null becomes the empty text as in a desktop query.
void nz(sqlite3_context* context, int count, sqlite3_value** args) {
    if (!isNull(args[0]))
        return sqlite3_result_value(context, args[0]);
    if (count == 2)
        return sqlite3_result_value(context, args[1]);
    resultText(context, QString());
}

struct Function {
    const char* desktopName;
    const char* registeredName;
    int argumentCount;
    Callback callback;
    bool deterministic;
};

const Function kFunctions[] = {
    {"now", "jet_now", 0, now, false},
    {"date", "jet_date", 0, today, false},
    {"year", "jet_year", 1, datePart<&QDate::year>, true},
    {"month", "jet_month", 1, datePart<&QDate::month>, true},
    {"day", "jet_day", 1, datePart<&QDate::day>, true},
    {"len", "jet_len", 1, length, true},
    {"mid", "jet_mid", 2, mid, true},
    {"mid", "jet_mid", 3, mid, true},
    {"left", "jet_left", 2, left, true},
    {"right", "jet_right", 2, right, true},
    {"ucase", "jet_ucase", 1, upper, true},
    {"lcase", "jet_lcase", 1, lower, true},
    {"iif", "jet_iif", 3, iif, true},
    {"nz", "jet_nz", 1, nz, true},
    {"nz", "jet_nz", 2, nz, true},
};

} // namespace

QString registeredFunctionName(const QString& desktopName) {
    for (const Function& function : kFunctions) {
        if (desktopName.compare(QLatin1String(function.desktopName), Qt::CaseInsensitive) == 0)
            return QLatin1String(function.registeredName);
    }
    return QString();
}

void registerDesktopFunctions(sqlite3* db) {
    for (const Function& function : kFunctions) {
        const int flags = SQLITE_UTF8 | (function.deterministic ? SQLITE_DETERMINISTIC : 0);
        const int rc = sqlite3_create_function_v2(db, function.registeredName, function.argumentCount,
                                                  flags, nullptr, function.callback, nullptr, nullptr,
                                                  nullptr);
        if (rc != SQLITE_OK)
            throw Error(QString::fromUtf8(sqlite3_errmsg(db)));
    }
}

} // namespace sql
