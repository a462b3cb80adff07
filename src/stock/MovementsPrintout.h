#pragma once

#include "stock/MovementFigures.h"

#include <QList>
#include <QString>

namespace corvale {

class PageCanvas;

// "ELENCO MOVIMENTI …": the rows given (already thinned out when only the
// articles with movements are wanted), the column header and page number on
// every page, and the totals band at the end.
class MovementsPrintout {
public:
    static void draw(PageCanvas &canvas, const QString &nameLine1, const QString &nameLine2,
                     const QString &title, const QList<MovementRow> &rows,
                     const MovementTotals &totals);
};

} // namespace corvale
