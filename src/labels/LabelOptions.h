#pragma once

#include <QDate>

namespace corvale {

// The check boxes of the label window and the rules that tie them together.
struct LabelOptions {
    bool labelPrinter = false;    // "Usa Etichettatrice"
    bool barcodeOnly = false;     // "Stampa solo barcode"
    bool printPrice = true;       // "Stampa il prezzo"
    bool discountedPrice = false; // "Prezzo scontato"
    // The day whose prices the labels show (a campaign's first day, to print
    // its labels before it starts); today when not given.
    QDate priceDay;

    // "Stampa il prezzo" can be chosen only when more than the barcode prints.
    static bool priceEnabled(bool barcodeOnly) { return !barcodeOnly; }
    // "Prezzo scontato" only when the price itself prints.
    static bool discountEnabled(bool barcodeOnly, bool printPrice) {
        return !barcodeOnly && printPrice;
    }
};

} // namespace corvale
