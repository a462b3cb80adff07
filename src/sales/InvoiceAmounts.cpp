#include "sales/InvoiceAmounts.h"

#include "documents/SheetColumns.h"
#include "platform/Money.h"

#include <cmath>

namespace corvale {

InvoiceAmounts InvoiceAmounts::fromTotal(double total, double vatPercent) {
    InvoiceAmounts out;
    out.total = total;
    const double divisor = 1 + vatPercent * 0.01;
    // A rate of -100 % or less has no taxable amount to speak of: all of it is taxable.
    const double taxable = divisor > 0 ? total / divisor : total;
    const Money taxableCents = Money::of(taxable);
    out.taxable = taxableCents.toDouble();
    out.tax = (Money::of(total) - taxableCents).toDouble();
    return out;
}

InvoiceAmounts InvoiceAmounts::of(const QList<SheetRow> &lines, double vatPercent) {
    double total = 0;
    qint64 pieces = 0;
    for (const SheetRow &row : lines) {
        const double quantity = row.number(sheet::QUANTITA);
        if (quantity == 0)
            continue;
        pieces += qint64(quantity);
        total += row.amount.toDouble();
    }
    InvoiceAmounts out = fromTotal(total, vatPercent);
    out.pieces = pieces;
    return out;
}

} // namespace corvale
