#pragma once

#include "sales/VoucherStore.h"

#include <QString>
#include <array>

namespace corvale {

class PageCanvas;

namespace db {
class Database;
}

// The printed voucher: the shop's name, "BUONO N.", its value, the dates and
// its EAN-13 barcode with the digits under it, so that the counter can scan
// it in a later sale.
struct VoucherPrintout {
    QString shopName;
    QString shopAddress;
    Voucher voucher;

    void readShop(db::Database &database);
    void draw(PageCanvas &canvas) const;

    // The 95 modules of an EAN-13 code (true: a bar), guards included;
    // nothing is drawn for a code that is not 13 digits.
    static std::array<bool, 95> ean13Modules(const QString &code);
};

} // namespace corvale
