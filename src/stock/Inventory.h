#pragma once

#include "stock/InventoryFigures.h"
#include "stock/InventoryScan.h"
#include "stock/ReportArticles.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvale {

class Shop;

// The yearly inventory behind "INVENTARIO": the articles in description order
// under the filter bar's text, each with its figures of the year worked out
// from the document lines (never from the stock matrix). The list handle
// carries them as the calculated columns cGiacPrec, cCARICHI, cSCARICHI,
// cDeposito and cVALORE, so a grid shows them as it reads the rows.
class Inventory {
public:
    explicit Inventory(Shop &shop);
    ~Inventory();

    db::Table &articles() { return m_articles.table(); }

    // Scans the lines of the inventory's year and opens the list again,
    // keeping its filter. Throws db::Error.
    void refresh();
    void close();
    int year() const { return m_scan.year(); }
    // The year of the inventory: the clock's year unless one is set. A past
    // year leaves out the lines dated after it. Takes effect at refresh().
    void setYear(int year) { m_year = year; }

    void setExclude(bool exclude);
    bool exclude() const { return m_exclude; }
    // Filtering is on exactly when the text is not empty. Throws db::Error
    // for a text the engine cannot read.
    void setFilter(const QString &text) { m_articles.setFilter(text); }
    QString filter() const { return m_articles.filter(); }

    // The rows in view, in list order; the list keeps its current row.
    QList<InventoryRow> rows();
    InventoryTotals totals() { return InventoryTotals::of(rows(), m_exclude); }

    // The ".XLS" export of the rows in view, heading lines first.
    QStringList exportLines();
    // The export of the current year without a window (a filter text as
    // StockFilter makes it).
    static QStringList exportFor(Shop &shop, const QString &filter = {}, bool exclude = false);
    // The same for `year`; the heading still carries today's date.
    static QStringList exportFor(Shop &shop, int year, const QString &filter = {},
                                 bool exclude = false);

private:
    void calculate(db::Table &t);

    Shop &m_shop;
    ReportArticles m_articles;
    InventoryScan m_scan;
    std::optional<int> m_year;
    bool m_exclude = false;
};

} // namespace corvale
