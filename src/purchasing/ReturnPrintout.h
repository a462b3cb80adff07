#pragma once

#include "documents/LineSheet.h"

#include <QList>
#include <QString>

namespace corvale {

class CommonRoutines;
class PageCanvas;

// The printed return (a delivery note) or order to a supplier: the shop's
// heading, the supplier's address box, the document boxes, the lines in nine
// columns or, without prices, in five, the totals boxes (with prices only),
// and the annotations box on every page.
struct ReturnPrintout {
    bool isOrder = false;
    bool withPrices = true;
    QString supplier;
    QString address;
    QString postcode; // CAP as stored
    QString town;
    QString vatNumber; // PIVACF
    QString numberText;
    QString dateText;
    QString noteText;
    QString privacyText;
    double taxable = 0;
    double tax = 0;
    double total = 0;
    QList<SheetRow> rows;

    // "00123 " + town; the town alone without a postcode.
    QString townLine() const;
    // `routines` draws the shop's heading.
    void draw(PageCanvas &canvas, CommonRoutines &routines) const;
};

} // namespace corvale
