#pragma once

#include <QDate>
#include <QtGlobal>

namespace corvale {

class CommonRoutines;

namespace db {
class Database;
}

// Loads a supplier order into stock as a new goods receipt dated today: the
// order's header values and lines are copied, the receipt is numbered and
// its lines go into the stock. Either all of it is stored or nothing is.
//
// The order keeps, in its otherwise unused NUMCAR, the key of the receipt it
// was loaded into, so that the same goods are not loaded twice: a second load
// is refused while that receipt exists (deleting the receipt frees the order).
class OrderLoader {
public:
    enum class Outcome { Loaded, AlreadyLoaded, NotFound };
    struct Result {
        Outcome outcome = Outcome::NotFound;
        qint64 receipt = 0; // the new receipt, or the one the order is in
    };

    OrderLoader(db::Database &database, CommonRoutines &routines, QDate today);

    // The receipt the order `order` is loaded into; 0 when none exists.
    qint64 loadedInto(qint64 order);
    // Throws db::Error after taking back what it had stored.
    Result load(qint64 order);

private:
    db::Database &m_db;
    CommonRoutines &m_routines;
    QDate m_today;
};

} // namespace corvale
