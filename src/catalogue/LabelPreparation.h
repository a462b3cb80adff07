#pragma once

#include <QString>

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

    // Walks the articles as `filter` lists them, in description order. With
    // `onlyInStock` a cell that is 0, empty or negative makes no row; a size
    // position whose label is empty never does. Returns the rows written.
    // An article code that is not made of digits throws
    // std::invalid_argument (from the check digit) with an Italian message.
    int prepare(const QString &filter, bool onlyInStock);

    // The article code followed by the colour code and the size code, and the
    // EAN-13 check digit of the first twelve characters.
    static QString lineBarcode(const QString &articleCode, const QString &colourCode, int position);
    // NUMREG + 100 of the colour in COLORI (tag COLORE), "000" when there is none.
    static QString colourCode(db::Table &colours, const QString &colour);

private:
    db::Database &m_database;
};

} // namespace corvale
