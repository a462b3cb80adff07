#include "register/ReceiptBuilder.h"

#include "platform/Money.h"

#include <cmath>

namespace corvale {

// The register's figures are worked on 6-byte reals, bit for bit as the
// registers expect them: this is not the shop's Money arithmetic.
double ReceiptBuilder::real48(double value) {
    if (value == 0 || !std::isfinite(value))
        return value;
    int exponent = 0;
    const double mantissa = std::frexp(value, &exponent); // 0.5 <= |m| < 1
    return std::ldexp(std::round(std::ldexp(mantissa, 40)), exponent - 40);
}

double ReceiptBuilder::lineAmount(double quantity, double price, double discount) {
    if (quantity == 0)
        return 0;
    return (1 - real48(discount) * 0.01) * real48(price) * real48(quantity);
}

double ReceiptBuilder::netTotal(double gross, double saleDiscount) {
    return roundToCents(gross * (1 - saleDiscount * 0.01));
}

std::optional<Receipt> ReceiptBuilder::build(QList<ReceiptLine> lines, double saleDiscount,
                                             std::optional<double> cash, bool calcResto) {
    Receipt receipt;
    double gross = 0;
    for (ReceiptLine &line : lines) {
        line.amount = lineAmount(line.quantity, line.price, line.discount);
        // Every line with a quantity counts, fractional ones included.
        if (line.isLine() && line.quantity != 0)
            gross += line.amount;
    }
    const double net = netTotal(gross, saleDiscount);
    receipt.lines = std::move(lines);
    receipt.saleDiscount = saleDiscount;
    receipt.discountAmount = gross - net;
    receipt.calcResto = calcResto;
    if (calcResto && cash) {
        if (net > *cash)
            return std::nullopt;
        receipt.payment = *cash;
    } else {
        receipt.payment = net;
    }
    return receipt;
}

} // namespace corvale
