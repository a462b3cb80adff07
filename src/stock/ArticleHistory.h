#pragma once

#include "stock/MovementPeriod.h"

#include <QString>

#include <memory>

namespace corvale {

class Shop;

namespace db {
class Table;
}

// The movements of one article found in the document lines: receipts and
// returns on the purchase side, counter sales and invoices on the sales side,
// each with its document's partner, number and date. The lines go to the work
// table TABLE4, the list to TABLE5 (by partner and date), both rebuilt at
// every opening; the averages cover every document whatever the view.
class ArticleHistory {
public:
    enum class Side { Purchases, Sales };

    explicit ArticleHistory(Shop &shop);
    ~ArticleHistory();

    db::Table &list() { return *m_list; }

    // Gathers the movements of article `key` and opens the list. Throws db::Error.
    void load(qint64 key);
    void close();

    double averagePurchasePrice() const { return m_averagePurchase; }
    double averageSalePrice() const { return m_averageSale; }

    // Shows one side in one period; returns the total quantity in view.
    double applyView(Side side, const MovementPeriod &period);
    static QString viewFilter(Side side, const MovementPeriod &period, QDate today);
    // "TOTALE": two decimals only when the total has a fraction.
    static QString totalText(double quantity);

private:
    Shop &m_shop;
    std::unique_ptr<db::Table> m_list;
    double m_averagePurchase = 0;
    double m_averageSale = 0;
};

} // namespace corvale
