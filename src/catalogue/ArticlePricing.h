#pragma once

#include <QString>
#include <optional>

namespace corvale {

// The price arithmetic of the article card: the sale price from the purchase
// price and the mark-up, the mark-up back from the sale price, the final
// (discounted) price and the discount that gives a typed final price.
//
// The mark-up is reckoned on the VAT-inclusive sale price unless the shop
// ticked "Calcola il ricarico senza Iva" (`markupWithoutVat`). Arithmetic that
// cannot be done (a zero purchase price, VAT of -100 %) gives 0, never an error.
class ArticlePricing {
public:
    // acq × (1 + ric/100), rounded to the cent, then with VAT added unless the
    // mark-up is reckoned without it (the VAT step is not rounded again).
    static double salePrice(double purchase, double markup, double vat, bool markupWithoutVat);
    // The mark-up that links `sale` to `purchase`; 0 when it cannot be reckoned.
    static double markupFromSale(double sale, double purchase, double vat, bool markupWithoutVat);
    // (1 - sc/100) × sell, as "Prz. Finale" shows it: two decimals, no blanks.
    static double finalPrice(double sale, double discount);
    static QString finalPriceText(double sale, double discount);
    // The discount (to two decimals) that turns `sale` into `discounted`;
    // nothing when the sale price is 0 (the discount stays as it is).
    static std::optional<double> discountFor(double sale, double discounted);
    // Text as typed in the card's number boxes ("39,80", "1.234,5"); nothing
    // when it is not a number.
    static std::optional<double> readNumber(const QString &text);
};

} // namespace corvale
