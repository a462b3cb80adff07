#include "stock/ArticleFiguresPrintout.h"

#include "documents/DocumentPrintout.h"
#include "printing/PageCanvas.h"

namespace corvale {

using documentprint::useFont;

void ArticleFiguresPrintout::draw(PageCanvas &c, const Document &d) {
    const int width = c.pageWidth() - 100;
    const int bottom = c.pageHeight() * 97 / 100;
    const int x0 = 50;
    const int unit = width / d.units;
    const qsizetype count = d.titles.size();
    // Right edges of the figure columns.
    QList<int> right;
    for (int i = 0; i < count; ++i)
        right << x0 + (11 + 2 * i) * unit;
    const int lineEnd = x0 + d.units * unit;
    c.setBrushClear();

    int y = 50;
    const int h12 = documentprint::nameLines(c, width / 2, y, d.nameLine1, d.nameLine2);
    y += 2 * h12;
    useFont(c, 9);
    c.textOutCentred(width / 2, y, d.title);
    y += 2 * h12;

    int page = 1;
    auto header = [&] {
        const int h8 = useFont(c, 8);
        c.textOut(x0 + 10, y, QStringLiteral("Codice"));
        c.textOut(x0 + 2 * unit + 10, y, QStringLiteral("Articolo"));
        for (int i = 0; i < count; ++i)
            c.textOutRight(right[i], y, d.titles[i]);
        y += h8 + 5;
        c.moveTo(x0, y);
        c.lineTo(lineEnd, y);
        y += 10;
        useFont(c, 9);
        c.textOutCentred(width / 2, bottom + h8, QStringLiteral("- %1 -").arg(page));
        ++page;
    };
    header();
    const int h9 = c.textHeight(QStringLiteral("X"));

    for (const Row &r : d.rows) {
        c.textOut(x0 + 10, y, r.code);
        c.textOut(x0 + 2 * unit + 10, y, r.article);
        for (int i = 0; i < count && i < r.figures.size(); ++i)
            c.textOutRight(right[i] - 10, y, r.figures[i]);
        y += h9;
        c.moveTo(x0, y);
        c.lineTo(lineEnd, y);
        y += 7;
        if (y + h9 >= bottom) {
            c.newPage();
            y = 50;
            header();
        }
    }

    y += h9 + h9 / 2;
    c.moveTo(x0, y);
    c.lineTo(lineEnd, y);
    y += h9 / 2;
    useFont(c, 10, true);
    c.textOut(x0 + 10, y, QStringLiteral("TOTALI"));
    for (int i = 0; i < d.totals.size() && i < d.totalColumns.size(); ++i)
        c.textOutRight(right[d.totalColumns[i]] - 10, y, d.totals[i]);
}

} // namespace corvale
