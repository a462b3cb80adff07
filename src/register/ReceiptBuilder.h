#pragma once

#include "register/Receipt.h"

#include <optional>

namespace corvale {

// Line amounts, net total, discount amount and payment computed as the
// counter sale computes them, for callers that hold only the typed values
// (the register test tool).
class ReceiptBuilder {
public:
    // cIMPORTO: (1 - discount x 0.01) x price x quantity, each value first
    // rounded to the precision of the sale's 6-byte reals; 0 for no quantity.
    static double lineAmount(double quantity, double price, double discount);
    // Rounds to a 40-bit significand, the precision of a 6-byte real.
    static double real48(double value);
    // The gross amount times (1 - discount x 0.01), rounded to cents.
    static double netTotal(double gross, double saleDiscount);

    // Fills each line's amount and the receipt's totals. Without cash the
    // payment is the net total; with cash it is the cash (when it covers the
    // total; otherwise nothing is returned: "Credito Insufficiente!").
    static std::optional<Receipt> build(QList<ReceiptLine> lines, double saleDiscount,
                                        std::optional<double> cash, bool calcResto);
};

} // namespace corvale
