#include "stock/MovementsPrintout.h"

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

QString whole(qint64 v) {
    return Formats::format(u"%10.0n", double(v)).trimmed();
}
QString money(const std::optional<double> &v) {
    return Formats::format(u"%10.2n", v.value_or(0)).trimmed();
}

} // namespace

void MovementsPrintout::draw(PageCanvas &c, const QString &nameLine1, const QString &nameLine2,
                             const QString &title, const QList<MovementRow> &rows,
                             const MovementTotals &totals) {
    const int width = c.pageWidth() - 100;
    const int bottom = c.pageHeight() * 97 / 100;
    const int x0 = 50;
    const int d = width / 19;
    // Right edges of "Carichi", "Scarichi", "Acquisti", "Vendite", "Ricavo".
    int right[5];
    for (int i = 0; i < 5; ++i)
        right[i] = x0 + (11 + 2 * i) * d;
    const int lineEnd = x0 + 19 * d;
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
    c.textOutCentred(width / 2, y, title);
    y += 2 * h12;

    int page = 1;
    auto header = [&] {
        setFont(c, 8, false);
        const int h8 = c.textHeight(QStringLiteral("X"));
        c.textOut(x0 + 10, y, QStringLiteral("Codice"));
        c.textOut(x0 + 2 * d + 10, y, QStringLiteral("Articolo"));
        const QString titles[5] = {QStringLiteral("Carichi"), QStringLiteral("Scarichi"),
                                   QStringLiteral("Acquisti"), QStringLiteral("Vendite"),
                                   QStringLiteral("Ricavo")};
        for (int i = 0; i < 5; ++i)
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

    for (const MovementRow &r : rows) {
        const MovementFigures &f = r.figures;
        c.textOut(x0 + 10, y, r.code);
        c.textOut(x0 + 2 * d + 10, y, r.description + u'/' + r.brand);
        const QString cells[5] = {whole(f.loads), whole(f.unloads), money(f.purchases),
                                  money(f.sales), money(f.margin)};
        for (int i = 0; i < 5; ++i)
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
    for (int i = 0; i < 5; ++i)
        c.textOutRight(right[i] - 10, y, texts[i]);
}

} // namespace corvale
