#pragma once

#include "stock/StockLevels.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace corvale {

class PageCanvas;

// "ELENCO GIACENZE": the rows in view under the size type's column titles,
// repeated at the top of every page, and the "TOTALI" line.
class StockLevelsPrintout {
public:
    struct Heading {
        QString nameLine1;
        QString nameLine2;
        QDate today;
        QString caption;        // "TAGLIA " + the size type's name
        QStringList sizeTitles; // twenty
    };
    static void draw(PageCanvas &canvas, const Heading &heading,
                     const QList<StockLevels::Row> &rows, const StockLevels::Cells &totals);
};

} // namespace corvale
