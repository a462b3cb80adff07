#pragma once

#include "catalogue/ArticleFilter.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>

namespace corvale {

class Shop;

namespace db {
class Table;
}

// What the filter bar of "GIACENZE MAGAZZINO" holds.
struct StockLevelsBoxes {
    QString code;
    QString description;
    QString brand;    // MARCHI.NUMREG, empty when none
    QString category; // CATEGOR.NUMREG, empty when none
    int season = 0;   // 0 none, 1..3 as N_STAGIONI
};

// The stock of every article of one size type, summed over its colours: the
// work table TABLE1, rebuilt from the stock matrix at every showing, filtered
// and totalled per size position.
class StockLevels {
public:
    static constexpr int sizeCount = 20;
    using Cells = std::array<qint64, sizeCount>;

    struct Row {
        QString description;
        QString code;
        Cells cells{};
    };

    explicit StockLevels(Shop &shop);
    ~StockLevels();

    db::Table &levels() { return *m_levels; }

    // Empties TABLE1 and writes one row per article of `sizeType`, in the
    // order of the article table, and opens it under the current filter.
    // One pass over the stock matrix. Throws db::Error.
    void rebuild(qint64 sizeType);
    void close();

    // Filtering is on exactly when the text is not empty.
    void setFilter(const QString &text);
    static QString filterText(const StockLevelsBoxes &boxes);
    // Codes this long or longer are line barcodes, as in the article archive.
    static constexpr int articleCodeLength = ArticleFilter::articleCodeLength;

    // The season number N_STAGIONI of a STAGIONE text.
    static int seasonNumber(const QString &season);

    // The rows in view, in list order; the list keeps its current row.
    QList<Row> rows();
    static Cells totals(const QList<Row> &rows);

    // The stock of a size type as tab-separated lines without a window: "GIACENZE - "
    // and today's date, a blank line, "TAGLIA " + the size type's name, the
    // column names ("CODICE", "ARTICOLO" and the twenty size labels), then one
    // line per article. Throws db::Error.
    static QStringList exportFor(Shop &shop, qint64 sizeType);

private:
    Shop &m_shop;
    std::unique_ptr<db::Table> m_levels;
    QString m_filter;
};

} // namespace corvale
