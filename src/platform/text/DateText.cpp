#include "text/DateText.h"

#include <QRegularExpression>

namespace text {

namespace {

// Year, month and day joined by one separator used twice ("-", "/" or "."),
// then optionally a blank and H:mm or H:mm:ss.
const QRegularExpression& dateTimePattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^([0-9]{4})([-/.])([0-9]{1,2})\2([0-9]{1,2})(?:\s+([0-9]{1,2}):([0-9]{2})(?::([0-9]{2}))?)?$)"));
    return pattern;
}

} // namespace

QString shortDateText(const QDate& date)
{
    return date.isValid() ? date.toString(QLatin1String(kShortDateFormat)) : QString();
}

QString dateTimeText(const QDateTime& dateTime)
{
    return dateTime.isValid() ? dateTime.toString(QLatin1String(kDateTimeFormat)) : QString();
}

QString storedDateText(const QDateTime& dateTime)
{
    if (dateTime.isValid() && dateTime.time() == QTime(0, 0))
        return shortDateText(dateTime.date());
    return dateTimeText(dateTime);
}

QString compactDateText(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyyMMdd")) : QString();
}

std::optional<QDateTime> parseDateTime(const QString& text)
{
    const QRegularExpressionMatch match = dateTimePattern().match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(3).toInt(), match.captured(4).toInt());
    // Missing time parts read as 0 (an empty capture converts to 0).
    const QTime time(match.captured(5).toInt(), match.captured(6).toInt(), match.captured(7).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time);
}

std::optional<QDate> parseDate(const QString& text)
{
    const auto dateTime = parseDateTime(text);
    if (!dateTime)
        return std::nullopt;
    return dateTime->date();
}

QString weekdayName(const QDate& date)
{
    static const char16_t* const names[] = {u"星期一", u"星期二", u"星期三", u"星期四",
                                            u"星期五", u"星期六", u"星期日"};
    if (!date.isValid())
        return QString();
    return QString::fromUtf16(names[date.dayOfWeek() - 1]);
}

} // namespace text
