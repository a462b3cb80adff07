#pragma once

#include <QString>

namespace corvale {

namespace db {
class Database;
}

// The purchase archive's article search: marks (FINDV) the receipts that hold
// a line whose barcode is `code`, and clears the mark on every other one.
// Any receipt key is noted, however large. False, with nothing changed, when
// no line carries the code.
bool markReceiptsWithCode(db::Database &database, const QString &code);

} // namespace corvale
