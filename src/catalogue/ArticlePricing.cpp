#include "catalogue/ArticlePricing.h"

#include "platform/Formats.h"

#include <cmath>

namespace corvale {

namespace {

// A quotient that would raise a division error in the card's arithmetic.
std::optional<double> divide(double a, double b) {
    if (b == 0)
        return std::nullopt;
    const double q = a / b;
    if (!std::isfinite(q))
        return std::nullopt;
    return q;
}

// Rounded the way the card does it: written with two decimals and read back.
double toCents(double x) {
    if (!std::isfinite(x))
        return 0;
    return Formats::parseNumber(Formats::format(u"%7.2f", x)).value_or(0);
}

} // namespace

double ArticlePricing::salePrice(double purchase, double markup, double vat,
                                 bool markupWithoutVat) {
    double p = toCents(purchase * (1 + markup / 100));
    if (!markupWithoutVat)
        p = p * (1 + vat / 100);
    return std::isfinite(p) ? p : 0;
}

double ArticlePricing::markupFromSale(double sale, double purchase, double vat,
                                      bool markupWithoutVat) {
    std::optional<double> s = sale;
    if (!markupWithoutVat)
        s = divide(sale, 1 + vat / 100);
    if (!s)
        return 0;
    const std::optional<double> ratio = divide(*s, purchase);
    return ratio ? (*ratio - 1) * 100 : 0;
}

double ArticlePricing::finalPrice(double sale, double discount) {
    return (1 - discount / 100) * sale;
}

QString ArticlePricing::finalPriceText(double sale, double discount) {
    return Formats::format(u"%7.2f", finalPrice(sale, discount)).trimmed();
}

std::optional<double> ArticlePricing::discountFor(double sale, double discounted) {
    if (sale == 0)
        return std::nullopt;
    return toCents((sale - discounted) * 100 / sale);
}

std::optional<double> ArticlePricing::readNumber(const QString &text) {
    return Formats::parseNumber(text);
}

} // namespace corvale
