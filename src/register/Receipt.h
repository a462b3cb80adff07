#pragma once

#include <QList>
#include <QString>

namespace corvale {

// One row of the sale's sheet as the register sees it.
struct ReceiptLine {
    QString description; // DESCRIZION; a row without one is skipped
    double quantity = 0; // QUANTITA
    double price = 0;    // PREZZO
    double discount = 0; // SCONTO, line discount percent
    double vat = 0;      // IVA percent
    double amount = 0;   // cIMPORTO, after the line discount

    bool isLine() const { return !description.isEmpty(); }
};

// A receipt to send: plain data taken from the sale, nothing of windows or tables.
struct Receipt {
    QList<ReceiptLine> lines;  // sheet order
    double saleDiscount = 0;   // header SCONTO, percent on the whole sale
    double discountAmount = 0; // gross amount - net total
    double payment = 0;        // net total, or the cash received with CALCRESTO
    bool calcResto = false;    // GENERALI/CALCRESTO
};

} // namespace corvale
