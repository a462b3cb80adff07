#pragma once

#include <QString>

namespace corvale {

namespace db {
class Database;
}

// The sales archive's article search: marks (FINDV) every counter sale that
// holds a line whose code is `code` and clears the mark on every other sale,
// listed or not, so that no later period shows marks of an earlier search.
// Any sale key is noted, however large. Invoices share the lines table but
// carry no mark. False, with nothing changed, when no sale line has the code.
bool markSalesWithCode(db::Database &database, const QString &code);

} // namespace corvale
