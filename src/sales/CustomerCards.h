#pragma once

#include <QString>

#include <optional>

namespace corvale {

namespace db {
class Database;
}

// A customer as the loyalty card finds them.
struct CustomerCard {
    qint64 code = 0;
    QString name;
    QString card;
    qint64 usedPoints = 0;
};

// The customer holding exactly this card number (trailing blanks aside, as in the
// fixed-width column). An empty card, or one longer than the column, finds no one:
// neither may match a customer by a part of their number.
std::optional<CustomerCard> findCustomerByCard(db::Database &database, const QString &card);

// The customer with this code, when there is one.
std::optional<CustomerCard> findCustomerByCode(db::Database &database, qint64 code);

} // namespace corvale
