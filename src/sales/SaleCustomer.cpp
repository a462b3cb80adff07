#include "sales/SaleCustomer.h"

#include "sales/PurchaseTotals.h"

namespace corvale {

namespace {

std::optional<SaleCustomer>
withPoints(db::Database &database, const std::optional<CustomerCard> &found, double pointsPerEuro) {
    if (!found)
        return std::nullopt;
    SaleCustomer out;
    out.customer = *found;
    out.points = PurchaseTotals::pointsBalance(PurchaseTotals::customerTotal(database, found->code),
                                               pointsPerEuro, found->usedPoints);
    return out;
}

} // namespace

std::optional<SaleCustomer> SaleCustomer::byCard(db::Database &database, const QString &card,
                                                 double pointsPerEuro) {
    return withPoints(database, findCustomerByCard(database, card), pointsPerEuro);
}

std::optional<SaleCustomer> SaleCustomer::byCode(db::Database &database, qint64 code,
                                                 double pointsPerEuro) {
    return withPoints(database, findCustomerByCode(database, code), pointsPerEuro);
}

} // namespace corvale
