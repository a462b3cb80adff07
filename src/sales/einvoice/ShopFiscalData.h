#pragma once

#include "sales/einvoice/EInvoiceDocument.h"

namespace corvale {

namespace db {
class Database;
}

// The shop's side of every electronic invoice, from its CONFIG record: who it
// is, its regime, its VAT rate, what a line without VAT is, and who sends.
struct ShopFiscalData {
    EInvoiceParty seller;
    int vatRate = 0; // IMPOBOL, hundredths of a percent
    QString nature;  // of the lines at 0 %
    QString natureReference;
    QString transmitterCountry; // the shop's own unless an intermediary sends
    QString transmitterCode;
    qint64 progressive = 0; // the last one taken

    bool flatRate() const;
    // A line's rate: its own, or the shop's when it has none; none at all in
    // the flat-rate regime.
    int rateOf(double lineRate) const;
    // The nature (and its law) of a line at `rate`: empty for a line with VAT.
    QString natureOf(int rate) const;
    QString referenceOf(const QString &nature) const;

    // Throws db::Error.
    static ShopFiscalData load(db::Database &database);
};

} // namespace corvale
