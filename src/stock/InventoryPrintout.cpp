#include "stock/InventoryPrintout.h"

#include "platform/Formats.h"
#include "printing/PageCanvas.h"

namespace corvale {

namespace {

void setFont(PageCanvas &c, double size, bool bold) {
    CanvasFont f;
    f.name = QStringLiteral("Arial");
    f.size = size;
    f.bold = bold;
    c.setFont(f);
}

QString whole(double v) {
    return Formats::format(u"%10.0n", v).trimmed();
}
QString money(double v) {
    return Formats::format(u"%10.2n", v).trimmed();
}

} // namespace

void InventoryPrintout::draw(PageCanvas &c, const QString &nameLine1, const QString &nameLine2,
                             int year, const QList<InventoryRow> &rows,
                             const InventoryTotals &totals) {
    const int width = c.pageWidth() - 100;
    const int bottom = c.pageHeight() * 97 / 100;
    const int x0 = 50;
    const int e = width / 21;
    // Right edges of the six number columns, from "Giac.Prec." to "Valore".
    int right[6];
    for (int i = 0; i < 6; ++i)
        right[i] = x0 + (11 + 2 * i) * e;
    const int lineEnd = x0 + 21 * e;
    c.setBrushClear();

    int y = 50;
    setFont(c, 12, true);
    const int h12 = c.textHeight(QStringLiteral("X"));
    c.textOutCentred(width / 2, y, nameLine1);
    y += h12;
    setFont(c, 10, true);
    c.textOutCentred(width / 2, y, nameLine2);
    y += h12;
    setFont(c, 9, false);
    c.textOutCentred(width / 2, y, QStringLiteral("INVENTARIO NELL'ANNO ") + QString::number(year));
    y += 2 * h12;

    int page = 1;
    auto header = [&] {
        setFont(c, 8, false);
        const int h8 = c.textHeight(QStringLiteral("X"));
        c.textOut(x0 + 10, y, QStringLiteral("Codice"));
        c.textOut(x0 + 2 * e + 10, y, QStringLiteral("Articolo"));
        const QString titles[6] = {QStringLiteral("Giac.Prec."), QStringLiteral("Carichi"),
                                   QStringLiteral("Scarichi"),   QStringLiteral("Giacenza"),
                                   QStringLiteral("Prezzo A."),  QStringLiteral("Valore")};
        for (int i = 0; i < 6; ++i)
            c.textOutRight(right[i], y, titles[i]);
        y += h8 + 5;
        c.moveTo(x0, y);
        c.lineTo(lineEnd, y);
        y += 10;
        setFont(c, 9, false);
        c.textOutCentred(width / 2, bottom + h8, QStringLiteral("- %1 -").arg(page));
        ++page;
    };
    header();
    const int h9 = c.textHeight(QStringLiteral("X"));

    for (const InventoryRow &r : rows) {
        const InventoryFigures &f = r.figures;
        c.textOut(x0 + 10, y, r.code);
        c.textOut(x0 + 2 * e + 10, y, r.description + u'/' + r.brand);
        const QString cells[6] = {whole(double(f.previous)), whole(double(f.loads)),
                                  whole(double(f.sales)),    money(double(f.stock)),
                                  money(r.purchasePrice),    money(f.value.value_or(0))};
        for (int i = 0; i < 6; ++i)
            c.textOutRight(right[i] - 10, y, cells[i]);
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
    setFont(c, 10, true);
    c.textOut(x0 + 10, y, QStringLiteral("TOTALI"));
    const QStringList texts = totals.texts();
    const int at[5] = {right[0], right[1], right[2], right[3], right[5]};
    for (int i = 0; i < 5; ++i)
        c.textOutRight(at[i] - 10, y, texts[i]);
}

} // namespace corvale
