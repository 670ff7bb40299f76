#pragma once

#include <QString>
#include <QtGlobal>
#include <compare>
#include <optional>

namespace text {

// A fixed-point decimal with two places, the type of every money, quantity and
// day value. Held as a whole number of hundredths, so sums are exact; every
// operation that produces more places rounds half away from zero.
class Decimal {
public:
    constexpr Decimal() = default;
    static constexpr Decimal fromCents(qint64 cents) { Decimal d; d.cents_ = cents; return d; }
    static Decimal fromInt(qint64 units);
    // Nearest value with two places, half away from zero (0.125 -> 0.13, -0.125 -> -0.13),
    // judged on the shortest decimal text of the double so that 1.005 rounds to 1.01.
    static Decimal fromDouble(double value);
    // Plain decimal text: optional blanks, sign, digits, one point, more digits
    // ("12", "-3.5", ".5", "1e2" refused). Rounds to two places. Empty optional when not a number.
    static std::optional<Decimal> parse(const QString& text);

    qint64 cents() const { return cents_; }
    double toDouble() const { return cents_ / 100.0; }
    bool isZero() const { return cents_ == 0; }

    // "12.5", "12", "-0.25": no trailing zeros, as a plain number is shown.
    QString toString() const;
    // Fixed number of places, rounding half away from zero: toFixed(2) of 12.5 is "12.50".
    QString toFixed(int places) const;
    // Display formats of the grids: "#0.00", "0.00", "#,##0.00", "0", "#0.0" (places after
    // the point = number of 0 after it; a comma asks for thousands separators).
    QString format(const QString& displayFormat) const;

    Decimal operator+(Decimal other) const { return fromCents(cents_ + other.cents_); }
    Decimal operator-(Decimal other) const { return fromCents(cents_ - other.cents_); }
    Decimal operator-() const { return fromCents(-cents_); }
    // Product of two values rounded once to two places, half away from zero.
    Decimal operator*(Decimal other) const;
    // Quotient rounded to two places, half away from zero; division by zero gives zero.
    Decimal operator/(Decimal other) const;
    Decimal& operator+=(Decimal other) { cents_ += other.cents_; return *this; }
    Decimal& operator-=(Decimal other) { cents_ -= other.cents_; return *this; }

    auto operator<=>(const Decimal&) const = default;

private:
    qint64 cents_ = 0;
};

} // namespace text
