#pragma once

#include "stock/InventoryFigures.h"

#include <QList>
#include <QString>

namespace corvale {

class PageCanvas;

// "INVENTARIO NELL'ANNO …": the rows given (already thinned out when only the
// articles with movements are wanted), the column header and page number on
// every page, and the totals of the bottom bar at the end.
class InventoryPrintout {
public:
    static void draw(PageCanvas &canvas, const QString &nameLine1, const QString &nameLine2,
                     int year, const QList<InventoryRow> &rows, const InventoryTotals &totals);
};

} // namespace corvale
