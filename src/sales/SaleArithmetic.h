#pragma once

#include "documents/LineSheet.h"

#include <QList>
#include <optional>

namespace corvale {

// The sums of a counter sale. Prices include VAT, so the amount due is the
// gross amount less the discount on the whole sale, rounded to the cent.
struct SaleTotals {
    qint64 pieces = 0;
    double gross = 0;          // sum of the line amounts (after their own discounts)
    double net = 0;            // amount due, VENDITE.TOTALE
    double discountAmount = 0; // gross - net
};

// "Calcolo dal prezzo scontato": the customer pays the price typed. The two
// decimals of "Sconto %" (VENDITE.SCONTO) cannot carry every such discount
// (899,70 down to 700 is 22,196…%, and 22,20% would make 699,97), so the
// discount is carried as an amount: the price agreed for the gross amount it
// was typed on, with the percent that "Sconto %" shows of it. It holds while
// the gross amount and the percent stay what they were.
struct AgreedPrice {
    double gross = 0;
    double price = 0;   // the amount due, VENDITE.TOTALE
    double percent = 0; // what "Sconto %" shows and VENDITE.SCONTO stores

    bool holdsFor(double gross, double discountPercent) const;
};

class SaleArithmetic {
public:
    // Over the lines the sale stores; a quantity counts as its whole part.
    // An agreed price that holds for them is the amount due.
    static SaleTotals totals(const QList<SheetRow> &lines, double discountPercent,
                             const std::optional<AgreedPrice> &agreed = {});

    // The discount that brings `gross` down to `price`; a price above the
    // gross amount gives no discount. Nothing when there is nothing to
    // discount. The percent shown is rounded to two decimals, never to 0 for
    // a price below the gross amount.
    static std::optional<AgreedPrice> agreePrice(double gross, double price);

    // The change due on `cash`; nothing when the cash does not cover `net`.
    static std::optional<double> change(double cash, double net);
};

} // namespace corvale
