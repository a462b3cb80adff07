#pragma once

#include "catalogue/SizeTitles.h"

#include <QString>

#include <memory>

namespace corvale {

class Shop;

namespace db {
class Table;
}

// What the article archive browses: the articles in description order under
// the filter bar's text, with the calculated price "cPRZ" (discounted when
// "Scont." is ticked), and the stock rows of the selected article, one per
// colour. The window binds its grids to the two handles.
class ArticleBrowser {
public:
    explicit ArticleBrowser(Shop &shop);
    ~ArticleBrowser();

    db::Table &articles() { return *m_articles; }
    db::Table &stock() { return *m_stock; }
    SizeTitles &sizeTitles() { return m_titles; }

    // Closes and reopens both tables, keeping the filter and the "Scont." choice.
    void open();
    void close();
    bool isOpen() const;

    void setDiscounted(bool discounted);
    bool discounted() const { return m_discounted; }
    // Filtering is on exactly when the text is not empty. A text the engine
    // cannot read throws.
    void setFilter(const QString &text);
    QString filter() const { return m_filter; }

    // Moves the stock rows (and the size titles) to the current article.
    void followArticle();
    bool isEmpty();
    // NUMREG of the current article, 0 when the list is empty.
    qint64 currentKey() const;

    // Deletes the current article and its further codes (BARCODE.DBF); its
    // stock rows and its document lines stay where they are.
    void removeCurrent();

    // The price the list shows.
    static double shownPrice(double salePrice, double discount, bool discounted);

private:
    Shop &m_shop;
    std::unique_ptr<db::Table> m_articles;
    std::unique_ptr<db::Table> m_stock;
    SizeTitles m_titles;
    QString m_filter;
    bool m_discounted = false;
};

} // namespace corvale
