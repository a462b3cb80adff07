#pragma once

#include <QString>
#include <QtGlobal>

#include <compare>

namespace corvale {

// An amount of money in whole cents.
//
// The tables and the sheets hold amounts as doubles, and a sum of them carries
// binary noise: three receipts of 19,90 less a return of 59,70 leave
// -7.1e-15, not 0. Every amount that is compared, shown or exported is first
// taken to the cent with Money::of, so that such a sum is zero, prints as
// nothing where zero prints as nothing and never reaches a file as an
// exponent. Halves go away from zero on the amount's decimal value, as the
// shop rounds: 2,675 is 2,68 and -0,125 is -0,13.
//
// The cash registers' own arithmetic on 6-byte reals (register/) is not
// this one and stays apart.
class Money {
public:
    // How an export writes the cents: the shortest form ("59,7", "12") or
    // always both digits ("59,70", "12,00").
    enum class Cents { AsNeeded, Always };

    constexpr Money() = default;
    static constexpr Money fromCents(qint64 cents) {
        Money m;
        m.m_cents = cents;
        return m;
    }
    // The amount taken to the cent; not-a-number and infinities are 0.
    static Money of(double amount);

    constexpr qint64 cents() const { return m_cents; }
    // The double nearest to the amount, as a table stores it.
    double toDouble() const { return double(m_cents) / 100; }
    constexpr bool isZero() const { return m_cents == 0; }

    friend constexpr auto operator<=>(const Money &, const Money &) = default;
    constexpr Money operator-() const { return fromCents(-m_cents); }
    friend constexpr Money operator+(Money a, Money b) { return fromCents(a.m_cents + b.m_cents); }
    friend constexpr Money operator-(Money a, Money b) { return fromCents(a.m_cents - b.m_cents); }
    constexpr Money &operator+=(Money other) {
        m_cents += other.m_cents;
        return *this;
    }
    constexpr Money &operator-=(Money other) {
        m_cents -= other.m_cents;
        return *this;
    }

    // The text a spreadsheet export writes: the decimal comma, no thousands
    // separators, never an exponent ("-0,05", "1234567,8").
    QString exportText(Cents cents = Cents::AsNeeded) const;

private:
    qint64 m_cents = 0;
};

// For code that keeps amounts as doubles: the amount taken to the cent.
inline double roundToCents(double amount) {
    return Money::of(amount).toDouble();
}

} // namespace corvale
