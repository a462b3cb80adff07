#include "stock/StockLevelsPrintout.h"

#include "platform/Formats.h"
#include "printing/PageCanvas.h"

namespace corvale {

namespace {

void setFont(PageCanvas &c, const QString &name, double size, bool bold, bool italic) {
    CanvasFont f;
    f.name = name;
    f.size = size;
    f.bold = bold;
    f.italic = italic;
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

    const QString sansSerif = QStringLiteral("MS Sans Serif");
    const QString arial = QStringLiteral("Arial");
    int y = 70;
    setFont(c, sansSerif, 12, true, true);
    const int h12 = c.textHeight(QStringLiteral("X"));
    auto centred = [&](const QString &text) { c.textOutCentred(usable / 2, y, text); };
    centred(heading.nameLine1);
    y += h12;
    setFont(c, sansSerif, 10, true, true);
    centred(heading.nameLine2);
    y += h12;
    centred(QStringLiteral("ELENCO GIACENZE - ") + Formats::formatDate(heading.today) +
            QStringLiteral(" - ") + heading.caption);
    y += 2 * h12;

    setFont(c, arial, 10, true, false);
    const int h10 = c.textHeight(QStringLiteral("X"));
    auto header = [&] {
        setFont(c, arial, 10, true, false);
        c.textOut(x0 + 10, y, QStringLiteral("Articolo"));
        for (int i = 0; i < StockLevels::sizeCount && i < heading.sizeTitles.size(); ++i)
            c.textOut(sizeLeft(i) + 10, y, heading.sizeTitles[i]);
        y += h10 + 5;
        c.moveTo(x0, y);
        c.lineTo(lineEnd, y);
        y += 10;
        setFont(c, arial, 9, false, false);
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
    setFont(c, arial, 9, true, false);
    c.textOut(x0 + 10, y, QStringLiteral("TOTALI"));
    for (int i = 0; i < StockLevels::sizeCount; ++i)
        if (totals[i] != 0)
            c.textOut(sizeLeft(i) + 10, y, QString::number(totals[i]));
}

} // namespace corvale
