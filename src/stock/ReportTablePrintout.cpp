#include "stock/ReportTablePrintout.h"

#include "documents/DocumentPrintout.h"
#include "printing/PageCanvas.h"

namespace corvale {

namespace {

using documentprint::useFont;

// The headings stand in Arial bold italic.
void headingFont(PageCanvas &c, double size) {
    CanvasFont f;
    f.size = size;
    f.bold = true;
    f.italic = true;
    c.setFont(f);
}

// A text cut until it fits `width`, so that a long description never runs
// into the next column.
QString fitted(PageCanvas &c, QString text, int width) {
    while (!text.isEmpty() && c.textWidth(text) > width)
        text.chop(1);
    return text;
}

} // namespace

void ReportTablePrintout::draw(PageCanvas &c, const Document &d) {
    const int width = c.pageWidth();
    const int x0 = 50;
    const int usable = width - 100;
    const int bottom = c.pageHeight() * 97 / 100;
    int shares = 0;
    for (const Column &col : d.columns)
        shares += std::max(col.share, 1);
    QList<int> left;
    QList<int> widths;
    int x = x0;
    for (const Column &col : d.columns) {
        const int w = usable * std::max(col.share, 1) / std::max(shares, 1);
        left << x;
        widths << w;
        x += w;
    }
    c.setBrushClear();

    int y = 70;
    headingFont(c, 12);
    const int h12 = c.textHeight(QStringLiteral("X"));
    auto centred = [&](const QString &text) { c.textOutCentred(x0 + usable / 2, y, text); };
    centred(d.nameLine1);
    y += h12;
    headingFont(c, 10);
    centred(d.nameLine2);
    y += h12;
    centred(d.title);
    y += 2 * h12;

    useFont(c, 9, false);
    const int h = c.textHeight(QStringLiteral("X"));
    const int pad = 10;
    auto cell = [&](int i, const QString &text) {
        const int w = widths[i] - 2 * pad;
        const QString t = fitted(c, text, w);
        const int tx =
            d.columns[i].right ? left[i] + widths[i] - pad - c.textWidth(t) : left[i] + pad;
        c.textOut(tx, y, t);
    };
    auto header = [&] {
        useFont(c, 9, true);
        for (int i = 0; i < d.columns.size(); ++i)
            cell(i, d.columns[i].title);
        y += h + 5;
        c.moveTo(x0, y);
        c.lineTo(x0 + usable, y);
        y += 10;
        useFont(c, 9, false);
    };
    header();
    for (const QStringList &row : d.rows) {
        if (y + h >= bottom) {
            c.newPage();
            y = 70;
            header();
        }
        for (int i = 0; i < d.columns.size() && i < row.size(); ++i)
            cell(i, row[i]);
        y += h + 5;
        c.moveTo(x0, y);
        c.lineTo(x0 + usable, y);
        y += 5;
    }
    if (!d.closing.isEmpty()) {
        if (y + 2 * h >= bottom) {
            c.newPage();
            y = 70;
            header();
        }
        y += h / 2;
        useFont(c, 9, true);
        for (int i = 0; i < d.columns.size() && i < d.closing.size(); ++i)
            cell(i, d.closing[i]);
    }
}

} // namespace corvale
