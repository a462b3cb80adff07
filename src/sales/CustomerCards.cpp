#include "sales/CustomerCards.h"

#include "db/Database.h"
#include "db/Table.h"
#include "sales/CustomerColumns.h"

namespace corvale {

namespace c = customerColumns;

namespace {

constexpr int cardWidth = 20;

QString withoutTrailingBlanks(const QString &text) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == u' ')
        --end;
    return text.left(end);
}

CustomerCard current(const db::Table &customers) {
    return {customers.asInteger(c::code), customers.asString(c::name), customers.asString(c::card),
            customers.asInteger(c::usedPoints)};
}

} // namespace

std::optional<CustomerCard> findCustomerByCard(db::Database &database, const QString &card) {
    const QString wanted = withoutTrailingBlanks(card);
    if (wanted.isEmpty() || wanted.size() > cardWidth)
        return std::nullopt;
    db::Table customers(database);
    customers.setTableName(c::customers);
    customers.setIndexName(c::card);
    customers.open();
    std::optional<CustomerCard> found;
    // The tag finds the key; the stored text decides, so that no collation of the
    // index can make a different number count as this one.
    if (customers.findKey(wanted)) {
        for (; !customers.eof(); customers.next()) {
            const QString stored = customers.asString(c::card);
            if (stored == wanted) {
                found = current(customers);
                break;
            }
            if (stored.compare(wanted, Qt::CaseInsensitive) != 0)
                break;
        }
    }
    customers.close();
    return found;
}

std::optional<CustomerCard> findCustomerByCode(db::Database &database, qint64 code) {
    db::Table customers(database);
    customers.setTableName(c::customers);
    customers.setIndexName(c::code);
    customers.open();
    std::optional<CustomerCard> found;
    if (customers.findKey(code))
        found = current(customers);
    customers.close();
    return found;
}

} // namespace corvale
