#include "text/Decimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace text {

namespace {

using Wide = __int128;

constexpr qint64 kMaxCents = std::numeric_limits<qint64>::max();

// Rounds numerator / denominator (denominator > 0) to a whole number, half away from zero.
Wide divideRounded(Wide numerator, Wide denominator)
{
    const bool negative = numerator < 0;
    const Wide magnitude = negative ? -numerator : numerator;
    const Wide rounded = (2 * magnitude + denominator) / (2 * denominator);
    return negative ? -rounded : rounded;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Hundredths of a plain decimal text: optional sign, digits, at most one point, digits.
// Places beyond the second are rounded half away from zero. Empty when the text is
// no such number or its value does not fit.
std::optional<qint64> centsOfPlainText(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    Wide cents = 0;
    int placesSeen = -1;   // -1 before the point, then the number of places read
    bool roundUp = false;
    bool anyDigit = false;
    for (char c : text) {
        if (c == '.') {
            if (placesSeen >= 0)
                return std::nullopt;
            placesSeen = 0;
            continue;
        }
        if (!isDigit(c))
            return std::nullopt;
        anyDigit = true;
        if (placesSeen < 0) {
            cents = cents * 10 + (c - '0');
            if (cents > kMaxCents / 100)
                return std::nullopt;
        } else if (placesSeen < 2) {
            cents = cents * 10 + (c - '0');
            ++placesSeen;
        } else if (placesSeen == 2) {
            // The third place alone decides: 5 and above is at least half a hundredth.
            roundUp = c >= '5';
            ++placesSeen;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    for (int places = std::max(placesSeen, 0); places < 2; ++places)
        cents *= 10;
    if (roundUp)
        ++cents;
    if (cents > kMaxCents)
        return std::nullopt;
    return static_cast<qint64>(negative ? -cents : cents);
}

// Digits of a magnitude with thousands separators every three digits from the right.
QString groupThousands(const QString& digits)
{
    QString grouped;
    const qsizetype length = digits.size();
    for (qsizetype i = 0; i < length; ++i) {
        if (i > 0 && (length - i) % 3 == 0)
            grouped += QLatin1Char(',');
        grouped += digits[i];
    }
    return grouped;
}

struct DisplayFormat {
    int places = 0;
    int minIntegerDigits = 0;
    bool thousands = false;
};

DisplayFormat readDisplayFormat(const QString& pattern)
{
    DisplayFormat format;
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString integerPart = point < 0 ? pattern : pattern.left(point);
    const QString fractionPart = point < 0 ? QString() : pattern.mid(point + 1);
    format.places = int(fractionPart.count(QLatin1Char('0')));
    format.minIntegerDigits = int(integerPart.count(QLatin1Char('0')));
    format.thousands = integerPart.contains(QLatin1Char(','));
    return format;
}

// Renders hundredths with a fixed number of places (rounded half away from zero),
// at least minIntegerDigits digits before the point and optional thousands separators.
// A value that rounds to zero is shown without a sign.
QString renderCents(qint64 cents, int places, int minIntegerDigits, bool thousands)
{
    places = std::max(places, 0);
    Wide scaled = cents;
    if (places < 2) {
        Wide divisor = 1;
        for (int i = places; i < 2; ++i)
            divisor *= 10;
        scaled = divideRounded(scaled, divisor);
    }
    const bool negative = scaled < 0;
    const Wide magnitude = negative ? -scaled : scaled;

    Wide unit = 1;
    for (int i = 0; i < std::min(places, 2); ++i)
        unit *= 10;
    const auto integer = static_cast<quint64>(magnitude / unit);
    const auto fraction = static_cast<quint64>(magnitude % unit);

    QString integerText = integer == 0 ? QString() : QString::number(integer);
    if (integerText.size() < minIntegerDigits)
        integerText = QString(minIntegerDigits - integerText.size(), QLatin1Char('0')) + integerText;
    if (thousands)
        integerText = groupThousands(integerText);

    QString text = negative ? QStringLiteral("-") : QString();
    text += integerText;
    if (places > 0) {
        QString fractionText = QString::number(fraction).rightJustified(std::min(places, 2), QLatin1Char('0'));
        fractionText = fractionText.leftJustified(places, QLatin1Char('0'));
        text += QLatin1Char('.') + fractionText;
    }
    return text;
}

} // namespace

Decimal Decimal::fromInt(qint64 units)
{
    return fromCents(units * 100);
}

// NaN gives zero; values beyond the range of hundredths saturate at its ends.
Decimal Decimal::fromDouble(double value)
{
    if (std::isnan(value))
        return Decimal();
    const Decimal saturated = fromCents(value > 0 ? kMaxCents : -kMaxCents);
    if (std::isinf(value))
        return saturated;
    // The shortest text that reads back as the same double is the decimal the
    // value was meant to be: 1.005 is stored as 1.00499999..., but written "1.005".
    // Fixed notation of a double needs at most about 330 characters.
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    const auto cents = centsOfPlainText(std::string_view(buffer, result.ptr - buffer));
    return cents ? fromCents(*cents) : saturated;
}

std::optional<Decimal> Decimal::parse(const QString& text)
{
    const QByteArray plain = text.trimmed().toLatin1();
    const auto cents = centsOfPlainText(std::string_view(plain.constData(), plain.size()));
    if (!cents)
        return std::nullopt;
    return fromCents(*cents);
}

QString Decimal::toString() const
{
    QString text = toFixed(2);
    if (!text.contains(QLatin1Char('.')))
        return text;
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString Decimal::toFixed(int places) const
{
    return renderCents(cents_, places, 1, false);
}

QString Decimal::format(const QString& displayFormat) const
{
    if (displayFormat.isEmpty())
        return toString();
    const DisplayFormat format = readDisplayFormat(displayFormat);
    return renderCents(cents_, format.places, format.minIntegerDigits, format.thousands);
}

Decimal Decimal::operator*(Decimal other) const
{
    const Wide product = Wide(cents_) * Wide(other.cents_);
    return fromCents(static_cast<qint64>(divideRounded(product, 100)));
}

Decimal Decimal::operator/(Decimal other) const
{
    if (other.cents_ == 0)
        return Decimal();
    Wide numerator = Wide(cents_) * 100;
    Wide denominator = other.cents_;
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    return fromCents(static_cast<qint64>(divideRounded(numerator, denominator)));
}

} // namespace text
