#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

// The program's date texts, the same whatever the system locale:
// short date "yyyy-MM-dd", date-time "yyyy-MM-dd HH:mm:ss".
namespace text {

inline constexpr char kShortDateFormat[] = "yyyy-MM-dd";
inline constexpr char kDateTimeFormat[] = "yyyy-MM-dd HH:mm:ss";

QString shortDateText(const QDate& date);          // "2026-12-11"; empty for an invalid date
QString dateTimeText(const QDateTime& dateTime);   // "2026-12-11 08:05:00"
// The stored form of a date value: the short date when the time is midnight, else date-time.
QString storedDateText(const QDateTime& dateTime);
QString compactDateText(const QDate& date);        // "20261211", for order numbers and backups

// Reads a date or date-time typed or stored in any of the accepted forms:
// "2026-12-11", "2026-12-1", "2026/12/11", "2026.12.11", each optionally followed by a
// blank and "H:mm" or "H:mm:ss". Empty optional when the text is no date.
std::optional<QDateTime> parseDateTime(const QString& text);
std::optional<QDate> parseDate(const QString& text);

// Chinese weekday name: "星期日" for Sunday to "星期六" for Saturday.
QString weekdayName(const QDate& date);

} // namespace text
