#pragma once

#include <QImage>

namespace corvale {

class PageCanvas;

// "Stampa" of the takings chart: the chart's image over the full width of
// the page, and under it the total of the period with its year.
class TakingsPrintout {
public:
    static void print(PageCanvas &canvas, const QImage &chart, double total, int year);
    // "Totale Venduto € 1.234,50 - Anno 2026"
    static QString totalLine(double total, int year);
};

} // namespace corvale
