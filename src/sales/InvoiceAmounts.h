#pragma once

#include "documents/LineSheet.h"

#include <QList>

namespace corvale {

// The money of an invoice. Its prices include VAT, so the total is the plain
// sum of the line amounts (no discount on the whole invoice) and the taxable
// amount and the VAT are worked out from it at the shop's single VAT rate.
struct InvoiceAmounts {
    qint64 pieces = 0;
    double total = 0;   // unrounded, as stored in TOTALE
    double taxable = 0; // to the cent
    double tax = 0;     // to the cent: what the rounded total leaves over the taxable amount

    // Sums the lines and splits the total at `vatPercent`. The taxable amount
    // and the VAT always add up to the total as printed, cent for cent.
    static InvoiceAmounts of(const QList<SheetRow> &lines, double vatPercent);
    static InvoiceAmounts fromTotal(double total, double vatPercent);
};

} // namespace corvale
