#include "sales/SaleArithmetic.h"

#include "documents/SheetColumns.h"
#include "platform/Formats.h"
#include "platform/Money.h"
#include "register/ReceiptBuilder.h"

#include <algorithm>
#include <cmath>

namespace corvale {

bool AgreedPrice::holdsFor(double grossAmount, double discountPercent) const {
    return Money::of(grossAmount) == Money::of(gross) &&
           Formats::roundDecimal(discountPercent, 2) == Formats::roundDecimal(percent, 2);
}

SaleTotals SaleArithmetic::totals(const QList<SheetRow> &lines, double discountPercent,
                                  const std::optional<AgreedPrice> &agreed) {
    SaleTotals t;
    for (const SheetRow &row : lines) {
        const qint64 pieces = qint64(std::trunc(row.number(sheet::QUANTITA)));
        if (pieces == 0)
            continue;
        t.pieces += pieces;
        t.gross += row.amount.toDouble();
    }
    t.net = agreed && agreed->holdsFor(t.gross, discountPercent)
                ? roundToCents(agreed->price)
                : ReceiptBuilder::netTotal(t.gross, discountPercent);
    t.discountAmount = t.gross - t.net;
    return t;
}

std::optional<AgreedPrice> SaleArithmetic::agreePrice(double gross, double price) {
    const Money due = Money::of(gross);
    if (due.isZero())
        return std::nullopt;
    AgreedPrice agreed;
    agreed.gross = gross;
    const Money target = std::min(Money::of(price), due);
    agreed.price = target.toDouble();
    const double percent = (due - target).toDouble() * 100 / due.toDouble();
    // A discount of a few cents on a large sale still shows as one.
    agreed.percent = target < due ? std::max(Formats::roundDecimal(percent, 2), 0.01) : 0;
    return agreed;
}

std::optional<double> SaleArithmetic::change(double cash, double net) {
    // Compared in cents, so that 0.1 + 0.2 of cash still pays 0.30.
    if (Money::of(net) > Money::of(cash))
        return std::nullopt;
    return (Money::of(cash) - Money::of(net)).toDouble();
}

} // namespace corvale
