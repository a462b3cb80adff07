#pragma once

#include "stock/SellThrough.h"

namespace corvale {

class PageCanvas;

// "VENDUTO PER STAGIONE": the shop's name, the season and the grouping, one
// line per group with the column header on every page, and the totals.
class SellThroughPrintout {
public:
    static void draw(PageCanvas &canvas, const QString &nameLine1, const QString &title,
                     SellThrough::Grouping grouping, const QList<SellThrough::Row> &rows);
};

} // namespace corvale
