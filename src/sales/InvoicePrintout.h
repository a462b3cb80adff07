#pragma once

#include "documents/LineSheet.h"
#include "sales/InvoiceAmounts.h"
#include "sales/einvoice/VatBreakdown.h"

#include <QList>
#include <QString>

namespace corvale {

class CommonRoutines;
class PageCanvas;

// The printed invoice: on every page the shop's heading, the customer's box
// and the document boxes, the lines in six columns, the totals boxes (the
// taxable amount, the VAT and the total on the last page, "SEGUE" on the
// others) and the annotations.
struct InvoicePrintout {
    QString customer;
    QString address;
    QString postcode; // CAP as stored
    QString town;
    QString vatNumber; // PIVACF
    QString numberText;
    QString dateText;
    QString noteText;
    QString privacyText;
    InvoiceAmounts amounts;
    // The VAT by rate as the electronic invoice states it. When given, the
    // taxable and tax boxes add it up, and an invoice with more than one rate
    // (or lines without VAT) lists it under its lines on the last page.
    QList<VatSummary> summaries;
    QList<SheetRow> rows;

    // `routines` draws the shop's heading.
    void draw(PageCanvas &canvas, CommonRoutines &routines) const;
};

} // namespace corvale
