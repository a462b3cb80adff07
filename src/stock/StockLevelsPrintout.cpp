#include "stock/StockLevelsPrintout.h"

#include "documents/DocumentPrintout.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"

namespace corvale {

namespace {

using documentprint::useFont;

// The headings stand in MS Sans Serif bold italic.
void headingFont(PageCanvas &c, double size) {
    CanvasFont f;
    f.name = QStringLiteral("MS Sans Serif");
    f.size = size;
    f.bold = true;
    f.italic = true;
    c.setFont(f);
}

} // namespace

void StockLevelsPrintout::draw(PageCanvas &c, const Heading &heading,
                               const QList<StockLevels::Row> &rows,
                               const StockLevels::Cells &totals) {
    const int width = c.pageWidth();
    const int usable = width - 100;
    const int x0 = 50;
    const int bottom = c.pageHeight() * 97 / 100;
    const int k = usable / 23;
    const int lineEnd = width - 50;
    auto sizeLeft = [&](int i) { return x0 + 3 * k + i * k; };
    c.setBrushClear();

    int y = 70;
    headingFont(c, 12);
    const int h12 = c.textHeight(QStringLiteral("X"));
    auto centred = [&](const QString &text) { c.textOutCentred(usable / 2, y, text); };
    centred(heading.nameLine1);
    y += h12;
    headingFont(c, 10);
    centred(heading.nameLine2);
    y += h12;
    centred(QStringLiteral("ELENCO GIACENZE - ") + Formats::formatDate(heading.today) +
            QStringLiteral(" - ") + heading.caption);
    y += 2 * h12;

    useFont(c, 10, true);
    const int h10 = c.textHeight(QStringLiteral("X"));
    auto header = [&] {
        useFont(c, 10, true);
        c.textOut(x0 + 10, y, QStringLiteral("Articolo"));
        for (int i = 0; i < StockLevels::sizeCount && i < heading.sizeTitles.size(); ++i)
            c.textOut(sizeLeft(i) + 10, y, heading.sizeTitles[i]);
        y += h10 + 5;
        c.moveTo(x0, y);
        c.lineTo(lineEnd, y);
        y += 10;
        useFont(c, 9, false);
    };
    header();

    for (const StockLevels::Row &r : rows) {
        c.textOut(x0 + 10, y, r.description);
        for (int i = 0; i < StockLevels::sizeCount; ++i)
            if (r.cells[i] != 0)
                c.textOut(sizeLeft(i) + 10, y, QString::number(r.cells[i]));
        y += h10 + 5;
        c.moveTo(x0, y);
        c.lineTo(lineEnd, y);
        y += 5;
        if (y + h10 >= bottom) {
            c.newPage();
            y = 70;
            header();
        }
    }

    y += h10 / 2;
    useFont(c, 9, true);
    c.textOut(x0 + 10, y, QStringLiteral("TOTALI"));
    for (int i = 0; i < StockLevels::sizeCount; ++i)
        if (totals[i] != 0)
            c.textOut(sizeLeft(i) + 10, y, QString::number(totals[i]));
}

} // namespace corvale
