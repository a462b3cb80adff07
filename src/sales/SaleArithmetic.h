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

class SaleArithmetic {
public:
    // Over the lines the sale stores; a quantity counts as its whole part.
    static SaleTotals totals(const QList<SheetRow> &lines, double discountPercent);

    // "Calcolo dal prezzo scontato": the discount that brings `gross` down to
    // `price`; a price above the gross amount gives 0. Nothing when there is
    // nothing to discount.
    static std::optional<double> discountForPrice(double gross, double price);

    // The change due on `cash`; nothing when the cash does not cover `net`.
    static std::optional<double> change(double cash, double net);
};

} // namespace corvale
