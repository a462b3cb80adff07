#pragma once

#include <QString>

namespace corvale {

// One row of the label list as the printouts use it.
struct LabelRow {
    QString barcode;
    QString brand;
    QString description;
    QString colour;
    QString sizeLabel;
    double price = 0;
    double discount = 0; // percent
    int count = 0;       // labels to print
    qint64 article = 0;  // ARTICOLI.NUMREG
    // "Prezzo precedente € 79,90 −30% € 55,93" while a campaign covers the
    // article on the day of the prices; `price` is then the campaign's.
    QString reduction;
};

} // namespace corvale
