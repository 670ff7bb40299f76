#pragma once

#include "text/Decimal.h"

#include <QDate>
#include <QString>
#include <optional>

// The sums of a rental order: days, line rent, discounts. Every result has two places,
// rounded half away from zero.
namespace orders {

// Days from the rental date to the return date; negative when the return date lies
// before. Both dates must be valid.
text::Decimal rentalDays(const QDate& rentalDate, const QDate& returnDate);

// The undiscounted rent of a line: quantity × rent per day × days, rounded once.
text::Decimal lineRent(text::Decimal quantity, text::Decimal rentPerDay, text::Decimal days);

// The discount list of the order window: "不打折", "95折", "9折", "8折", "7折", "6折".
inline constexpr const char* kNoDiscount = "不打折";

// The factor a discount choice applies to a line's current rent total; empty for
// "不打折" (which restores the undiscounted rent) and for a text that is no choice.
std::optional<text::Decimal> discountFactor(const QString& choice);
bool isDiscountChoice(const QString& choice);

} // namespace orders
