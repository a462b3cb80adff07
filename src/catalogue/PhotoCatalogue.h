#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace corvale {

class PageCanvas;
class Shop;

// "CATALOGO - ANNO …": a box per article in use among the listed ones, with
// its photo on the left and its brand, description, category and price
// beside it, `perPage` boxes to a page. The photos are decoded here, so the
// catalogue shows them whether or not the archive's photo window is on.
class PhotoCatalogue {
public:
    struct Article {
        QString brand;
        QString description;
        QString category;
        double salePrice = 0;
        QByteArray photo; // JPEG bytes as stored; empty when none
    };

    static constexpr int fewestPerPage = 4;
    static constexpr int mostPerPage = 8;

    explicit PhotoCatalogue(Shop &shop);

    // The answer to "N° foto per pagina (4-8)": a whole number from 4 to 8,
    // nothing otherwise.
    static std::optional<int> photosPerPage(const QString &answer);

    // Reads the articles `filter` lists whose INUSO is true, in description order.
    void load(const QString &filter);
    int articleCount() const { return int(m_articles.size()); }
    void print(PageCanvas &canvas, int perPage) const;

private:
    Shop &m_shop;
    QList<Article> m_articles;
};

} // namespace corvale
