#pragma once

#include <QString>

namespace corvale {

class CommonRoutines;

namespace db {
class Database;
}

// Adds a colour typed in the size panel ("Nuovo"): the next number of the
// counter "COLORI" and the name in capitals. Returns its number, or 0 when the
// text is empty or only blanks (nothing is added).
qint64 addColour(db::Database &database, CommonRoutines &routines, const QString &typed);

} // namespace corvale
