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
};

} // namespace corvale
