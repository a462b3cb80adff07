#pragma once

#include <QSet>
#include <QString>

#include <optional>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

// Fills the label list (ELEMENTI) with one row per article, colour and size
// position of the listed articles: the line barcode, the article's texts and
// prices, the size label, and in LABELS the stock of the cell, which the
// label window prints as the number of labels.
class LabelPreparation {
public:
    explicit LabelPreparation(db::Database &database);

    struct Result {
        int written = 0;
        // Rows left out because their barcode could not be a valid EAN-13.
        int skipped = 0;
    };

    // Walks the articles as `filter` lists them, in description order. With
    // `onlyInStock` a cell that is 0, empty or negative makes no row; a size
    // position whose label is empty never does.
    // `only`, when given, keeps just those articles (a campaign's).
    Result prepare(const QString &filter, bool onlyInStock, const QSet<qint64> *only = nullptr);

    // The first six characters of the article code, the colour code, the size
    // position + 100 and the EAN-13 check digit, as every document line's
    // barcode. Nothing when the parts cannot make one: an article code that is
    // not six digits or more, or a colour code of four digits (colour numbers
    // from 900 on), which would push the size out of its place.
    static std::optional<QString> lineBarcode(const QString &articleCode, const QString &colourCode,
                                              int position);
    // NUMREG + 100 of the colour in COLORI (tag COLORE), "000" when there is none.
    static QString colourCode(db::Table &colours, const QString &colour);

private:
    db::Database &m_database;
};

} // namespace corvale
