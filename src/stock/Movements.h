#pragma once

#include "stock/MovementFigures.h"
#include "stock/MovementPeriod.h"
#include "stock/ReportArticles.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <unordered_map>

namespace corvale {

class Shop;

// The load and unload summary behind "CARICO/SCARICO": the articles in
// description order under the filter bar's text, each with what its document
// lines of the period add up to, carried by the list handle as the calculated
// columns cCARICHI, cACQUISTI, cSCARICHI, cVENDITE and cRICAVO. Any article
// number above 0 has its figures; lines of no article count for nobody.
class Movements {
public:
    explicit Movements(Shop &shop);
    ~Movements();

    db::Table &articles() { return m_articles.table(); }

    // Sums the lines of `period` (one pass over each line table) and opens the
    // list again with its filter. Throws db::Error.
    void compute(const MovementPeriod &period);
    const MovementPeriod &period() const { return m_period; }
    void close();

    // Filtering is on exactly when the text is not empty.
    void setFilter(const QString &text) { m_articles.setFilter(text); }
    QString filter() const { return m_articles.filter(); }

    MovementSums sums(qint64 article) const;
    // The rows in view, in list order; the list keeps its current row.
    QList<MovementRow> rows();
    MovementTotals totals() { return MovementTotals::of(rows()); }
    // The ".XLS" export of the rows in view, heading lines first.
    QStringList exportLines();

    // The export of a period without a window (a filter text as StockFilter makes it).
    static QStringList exportFor(Shop &shop, const MovementPeriod &period,
                                 const QString &filter = {});

private:
    void calculate(db::Table &t);

    Shop &m_shop;
    ReportArticles m_articles;
    MovementPeriod m_period;
    std::unordered_map<qint64, MovementSums> m_sums;
};

} // namespace corvale
