#include "orders/OrderArithmetic.h"

#include <array>
#include <utility>

namespace orders {

namespace {

using Wide = __int128;

const std::array<std::pair<const char*, qint64>, 5> kDiscounts{{
    {"95折", 95},
    {"9折", 90},
    {"8折", 80},
    {"7折", 70},
    {"6折", 60},
}};

// numerator / denominator (denominator > 0) as a whole number, half away from zero.
Wide divideRounded(Wide numerator, Wide denominator) {
    const bool negative = numerator < 0;
    const Wide magnitude = negative ? -numerator : numerator;
    const Wide rounded = (2 * magnitude + denominator) / (2 * denominator);
    return negative ? -rounded : rounded;
}

} // namespace

text::Decimal rentalDays(const QDate& rentalDate, const QDate& returnDate) {
    return text::Decimal::fromInt(rentalDate.daysTo(returnDate));
}

text::Decimal lineRent(text::Decimal quantity, text::Decimal rentPerDay, text::Decimal days) {
    // Three values in hundredths multiply to millionths of hundredths.
    const Wide product = Wide(quantity.cents()) * Wide(rentPerDay.cents()) * Wide(days.cents());
    return text::Decimal::fromCents(static_cast<qint64>(divideRounded(product, 10000)));
}

std::optional<text::Decimal> discountFactor(const QString& choice) {
    for (const auto& [name, percent] : kDiscounts)
        if (choice == QString::fromUtf8(name))
            return text::Decimal::fromCents(percent);
    return std::nullopt;
}

bool isDiscountChoice(const QString& choice) {
    return choice == QString::fromUtf8(kNoDiscount) || discountFactor(choice).has_value();
}

} // namespace orders
