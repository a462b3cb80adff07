#include "stock/InventoryPrintout.h"

#include "platform/Formats.h"
#include "stock/ArticleFiguresPrintout.h"

namespace corvale {

namespace {

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
    ArticleFiguresPrintout::Document d;
    d.nameLine1 = nameLine1;
    d.nameLine2 = nameLine2;
    d.title = QStringLiteral("INVENTARIO NELL'ANNO ") + QString::number(year);
    d.units = 21;
    d.titles = {QStringLiteral("Giac.Prec."), QStringLiteral("Carichi"),
                QStringLiteral("Scarichi"),   QStringLiteral("Giacenza"),
                QStringLiteral("Prezzo A."),  QStringLiteral("Valore")};
    for (const InventoryRow &r : rows) {
        const InventoryFigures &f = r.figures;
        d.rows << ArticleFiguresPrintout::Row{r.code,
                                              r.description + u'/' + r.brand,
                                              {whole(double(f.previous)), whole(double(f.loads)),
                                               whole(double(f.sales)), money(double(f.stock)),
                                               money(r.purchasePrice), money(f.value.value_or(0))}};
    }
    d.totals = totals.texts();
    d.totalColumns = {0, 1, 2, 3, 5};
    ArticleFiguresPrintout::draw(c, d);
}

} // namespace corvale
