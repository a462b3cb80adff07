#pragma once

#include "platform/Money.h"

#include <QString>

namespace corvale {

namespace db {
class Table;
}

// One line of a counter sale as a code makes it: which piece leaves the stock
// (article, colour, size position, quantity) and at what price.
struct SaleLine {
    qint64 article = 0; // ARTICOLI.NUMREG
    QString barcode;    // the code the line was made from
    QString description;
    QString brand;
    qint64 sizeType = 0;
    QString colour; // empty: no colour
    int position = 1;
    QString sizeLabel;
    double quantity = 1;
    Money price;
    double discount = 0; // percent
    double vat = 0;      // percent

    // One piece of the article (the current ARTICOLI record) at its list
    // price and discount, in size position 1 of no colour.
    static SaleLine ofArticle(const db::Table &article);

    // Writes the line into the sheet row being edited, every column of it,
    // so that nothing the row held before stays.
    void writeTo(db::Table &row) const;
};

} // namespace corvale
