#include "stock/MovementsPrintout.h"

#include "platform/Formats.h"
#include "stock/ArticleFiguresPrintout.h"

namespace corvale {

namespace {

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
    ArticleFiguresPrintout::Document d;
    d.nameLine1 = nameLine1;
    d.nameLine2 = nameLine2;
    d.title = title;
    d.units = 19;
    d.titles = {QStringLiteral("Carichi"), QStringLiteral("Scarichi"), QStringLiteral("Acquisti"),
                QStringLiteral("Vendite"), QStringLiteral("Ricavo")};
    for (const MovementRow &r : rows) {
        const MovementFigures &f = r.figures;
        d.rows << ArticleFiguresPrintout::Row{r.code,
                                              r.description + u'/' + r.brand,
                                              {whole(f.loads), whole(f.unloads), money(f.purchases),
                                               money(f.sales), money(f.margin)}};
    }
    d.totals = totals.texts();
    d.totalColumns = {0, 1, 2, 3, 4};
    ArticleFiguresPrintout::draw(c, d);
}

} // namespace corvale
