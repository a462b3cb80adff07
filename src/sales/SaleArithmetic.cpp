#include "sales/SaleArithmetic.h"

#include "documents/SheetColumns.h"
#include "platform/Money.h"
#include "sales/register/ReceiptBuilder.h"

#include <cmath>

namespace corvale {

SaleTotals SaleArithmetic::totals(const QList<SheetRow> &lines, double discountPercent) {
    SaleTotals t;
    for (const SheetRow &row : lines) {
        const qint64 pieces = qint64(std::trunc(row.number(sheet::QUANTITA)));
        if (pieces == 0)
            continue;
        t.pieces += pieces;
        t.gross += row.amount.toDouble();
    }
    t.net = ReceiptBuilder::netTotal(t.gross, discountPercent);
    t.discountAmount = t.gross - t.net;
    return t;
}

std::optional<double> SaleArithmetic::discountForPrice(double gross, double price) {
    if (gross == 0)
        return std::nullopt;
    const double target = std::min(price, gross);
    return (gross - target) * 100 / gross;
}

std::optional<double> SaleArithmetic::change(double cash, double net) {
    // Compared in cents, so that 0.1 + 0.2 of cash still pays 0.30.
    if (Money::of(net) > Money::of(cash))
        return std::nullopt;
    return (Money::of(cash) - Money::of(net)).toDouble();
}

} // namespace corvale
