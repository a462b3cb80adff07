#pragma once

#include "documents/LineSheet.h"
#include "sales/InvoiceAmounts.h"

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
    QList<SheetRow> rows;

    // `routines` draws the shop's heading.
    void draw(PageCanvas &canvas, CommonRoutines &routines) const;
};

} // namespace corvale
