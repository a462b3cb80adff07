#include "stock/SellThroughPrintout.h"

#include "documents/DocumentPrintout.h"
#include "printing/PageCanvas.h"

namespace corvale {

using documentprint::useFont;

void SellThroughPrintout::draw(PageCanvas &c, const QString &nameLine1, const QString &title,
                               SellThrough::Grouping grouping,
                               const QList<SellThrough::Row> &rows) {
    const int width = c.pageWidth() - 100;
    const int bottom = c.pageHeight() * 97 / 100;
    const int x0 = 50;
    const int d = width / 20;
    // The group name takes six parts, every figure two, right-aligned.
    const QStringList titles = SellThrough::columnTitles(grouping);
    auto rightOf = [&](int column) { return x0 + (6 + 2 * column) * d; };
    c.setBrushClear();
    int y = 50;
    useFont(c, 12, true);
    const int h = c.textHeight(QStringLiteral("X"));
    c.textOutCentred(x0 + width / 2, y, nameLine1);
    y += h;
    useFont(c, 10, true);
    c.textOutCentred(x0 + width / 2, y, title);
    y += 2 * h;
    auto header = [&] {
        useFont(c, 8, true);
        c.textOut(x0 + 10, y, titles.first());
        for (int i = 1; i < titles.size(); ++i)
            c.textOutRight(rightOf(i), y, titles[i]);
        y += c.textHeight(QStringLiteral("X")) + 5;
        c.moveTo(x0, y);
        c.lineTo(rightOf(int(titles.size()) - 1), y);
        y += 10;
        useFont(c, 9, false);
    };
    auto line = [&](const SellThrough::Row &r) {
        const QStringList texts = SellThrough::texts(r);
        c.textOut(x0 + 10, y, texts.first());
        for (int i = 1; i < texts.size(); ++i)
            c.textOutRight(rightOf(i), y, texts[i]);
        y += c.textHeight(QStringLiteral("X")) + 4;
    };
    header();
    for (const SellThrough::Row &r : rows) {
        if (y + 2 * h > bottom) {
            c.newPage();
            y = 50;
            header();
        }
        line(r);
    }
    y += 5;
    c.moveTo(x0, y);
    c.lineTo(rightOf(int(titles.size()) - 1), y);
    y += 10;
    useFont(c, 9, true);
    line(SellThrough::total(rows));
}

} // namespace corvale
