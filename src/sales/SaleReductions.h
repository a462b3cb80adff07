#pragma once

#include "catalogue/SalePrices.h"
#include "documents/LineSheet.h"

#include <QDate>
#include <QList>

#include <optional>

namespace corvale {

namespace db {
class Database;
}

// Which lines of a sale sell at the price of a campaign running on the sale's
// day: the printout and the telematic register show them against the
// campaign's previous price.
class SaleReductions {
public:
    // For each row, its campaign price when the row still sells at it (a
    // price agreed at the counter is the operator's, not the campaign's);
    // nothing otherwise.
    static QList<std::optional<EffectivePrice>> of(db::Database &database,
                                                   const QList<SheetRow> &rows, QDate day);
};

} // namespace corvale
