#pragma once

#include <QString>
#include <QVariantMap>

#include <memory>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

// What a code typed or scanned at the counter stands for. The first six
// characters name the article (any article, in use or not); a line barcode
// carries the colour number + 100 in characters 7 to 9 and the size position
// + 100 in characters 10 to 12. A code that gives no colour (the article's own
// code, say) makes a line only for an article without stock by colour, such
// as an accessory; for the others the colour and size are still to choose. A
// code that names no article is looked up whole among the articles' extra
// codes, which only lead to articles in use.
class SaleCodeLookup {
public:
    struct Result {
        enum class Kind {
            Line,       // `line` holds the sheet values of a complete line
            ChooseSize, // `article` is the article, its colour and size still to choose
            NotFound
        };
        Kind kind = Kind::NotFound;
        QVariantMap line;
        qint64 article = 0;
    };

    explicit SaleCodeLookup(db::Database &database);
    ~SaleCodeLookup();

    void open();
    void close();

    Result find(const QString &code);

    // Colour number and size position read from a code as the counter reads
    // them: a part that is not a number gives colour 0 and position 1.
    static qint64 colourNumberOf(const QString &code);
    static int positionOf(const QString &code);

private:
    // Whether the article has a stock row of a named colour.
    bool stockedByColour(qint64 article);

    std::unique_ptr<db::Table> m_articles;
    std::unique_ptr<db::Table> m_colours;
    std::unique_ptr<db::Table> m_sizes;
    std::unique_ptr<db::Table> m_extraCodes;
    std::unique_ptr<db::Table> m_articlesByKey;
    std::unique_ptr<db::Table> m_stock;
};

} // namespace corvale
