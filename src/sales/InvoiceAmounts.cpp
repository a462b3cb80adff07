#include "sales/InvoiceAmounts.h"

#include "documents/SheetColumns.h"
#include "platform/Formats.h"

#include <cmath>

namespace corvale {

namespace {

qint64 cents(double value) {
    return qint64(std::llround(Formats::roundDecimal(value, 2) * 100));
}

} // namespace

InvoiceAmounts InvoiceAmounts::fromTotal(double total, double vatPercent) {
    InvoiceAmounts out;
    out.total = total;
    const double divisor = 1 + vatPercent * 0.01;
    // A rate of -100 % or less has no taxable amount to speak of: all of it is taxable.
    const double taxable = divisor > 0 ? total / divisor : total;
    const qint64 totalCents = cents(total);
    const qint64 taxableCents = cents(taxable);
    out.taxable = double(taxableCents) / 100;
    out.tax = double(totalCents - taxableCents) / 100;
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
