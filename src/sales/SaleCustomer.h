#pragma once

#include "sales/CustomerCards.h"

#include <optional>

namespace corvale {

namespace db {
class Database;
}

// The customer of a counter sale with their points balance, worked out from
// their stored sales and invoices when the card or the customer is chosen.
struct SaleCustomer {
    CustomerCard customer;
    qint64 points = 0;

    static std::optional<SaleCustomer> byCard(db::Database &database, const QString &card,
                                              double pointsPerEuro);
    static std::optional<SaleCustomer> byCode(db::Database &database, qint64 code,
                                              double pointsPerEuro);
};

} // namespace corvale
