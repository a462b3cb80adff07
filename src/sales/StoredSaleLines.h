#pragma once

#include "documents/LineSheet.h"

#include <QList>

namespace corvale {

namespace db {
class Database;
}

// The stored lines of counter sale `key` (ARCART_V) as the sale sheet holds
// them: the article's key under CODICE, the amount after the line's discount.
// Throws db::Error.
QList<SheetRow> storedSaleLines(db::Database &database, qint64 key);

} // namespace corvale
