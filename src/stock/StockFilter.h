#pragma once

#include <QString>

namespace corvale {

// What the filter bars of the inventory and of the load and unload summary
// hold: typed texts as typed, chosen entries by their key (empty when none).
struct StockFilterBoxes {
    QString code;
    QString description;
    QString brand;    // MARCHI.NUMREG
    QString supplier; // FORNITOR.CODICE
    QString season;   // " " or empty: no season
    bool inUseOnly = false;
};

// The filter text of the article list of those windows: one condition per
// filled box joined by " AND ", empty when none. Every typed text is quoted,
// so an apostrophe never breaks the filter.
class StockFilter {
public:
    static QString text(const StockFilterBoxes &boxes);
    // A code this long or longer is a whole article code (or a scanned line
    // barcode): its first 13 characters must equal the article's.
    static constexpr int wholeCodeLength = 13;
};

} // namespace corvale
