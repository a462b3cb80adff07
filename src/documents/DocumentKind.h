#pragma once

#include <QString>

namespace corvale {

// What tells the document windows apart where they share the line sheet, the
// save and the archives: which tables hold the headers and the lines, which
// counter numbers them, how the lines move the stock and which article values
// a new line takes.
struct DocumentKind {
    enum class Stock { Add, Subtract, None };
    enum class Lines { Purchase, Sale };

    QString headerTable; // "CARICHI"
    QString lineTable;   // "ARCART_A"
    QString lineKey;     // the line column holding the header's NUMREG
    QString counter;     // named counter of NUMREG
    Stock stock = Stock::None;
    Lines lines = Lines::Purchase;
    // Receipts carry the article's sale discount into the lines (SCOVND).
    bool keepsSaleDiscount = false;
    // Prices of a new line: the purchase price or the sale price.
    bool purchasePrice = true;

    static DocumentKind receipt();
    static DocumentKind supplierReturn();
    static DocumentKind supplierOrder();
    static DocumentKind counterSale();
    static DocumentKind invoice();
};

} // namespace corvale
