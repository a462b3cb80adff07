#pragma once

#include "documents/LineSheet.h"

#include <QList>
#include <QString>

namespace corvale {

class PageCanvas;

// The printed goods receipt: the shop's name lines, the boxes of supplier,
// supplier's document number, date and document type, the lines in seven
// columns, and the totals boxes, which say "SEGUE" on every page but the last.
struct ReceiptPrintout {
    QString nameLine1; // RAGIONE
    QString nameLine2; // RAGION2
    QString supplier;
    QString supplierDocument; // "N° Doc."
    QString dateText;
    QString heading = QStringLiteral("ACQUISTO");
    double discount = 0;
    double taxable = 0;
    double tax = 0;
    double total = 0;
    QList<SheetRow> rows;

    void draw(PageCanvas &canvas) const;
};

} // namespace corvale
