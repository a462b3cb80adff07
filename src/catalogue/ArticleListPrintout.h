#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace corvale {

class PageCanvas;
class Shop;

// "ELENCO ARTICOLI": the listed articles with code, description and brand,
// category, purchase and sale price and supplier; with the detail, each
// article followed by its stock rows under the titles of its size type.
// The articles are read once by load(); print() draws them on any canvas as
// often as the preview asks.
class ArticleListPrintout {
public:
    struct StockRow {
        QString colour;
        QStringList cells; // TG1..TG20 as stored, empty when empty
    };
    struct Article {
        QString code;
        QString description;
        QString brand;
        QString category;
        QString supplier;
        double purchasePrice = 0;
        double shownPrice = 0;
        QStringList sizeTitles;
        QList<StockRow> rows;
    };

    explicit ArticleListPrintout(Shop &shop);

    // Reads the articles `filter` lists, in description order.
    void load(const QString &filter, bool discounted, bool withDetail);
    int articleCount() const { return int(m_articles.size()); }
    void print(PageCanvas &canvas) const;

private:
    Shop &m_shop;
    QList<Article> m_articles;
    bool m_withDetail = false;
};

} // namespace corvale
