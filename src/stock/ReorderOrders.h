#pragma once

#include "stock/ReorderSuggestions.h"

#include <QDate>
#include <QList>

namespace corvale {

class CommonRoutines;

namespace db {
class Database;
}

// "Crea ordine": the rows of the reorder grid with a quantity above 0 become
// one supplier order per supplier, stored through the same save as an order
// typed in the order window (header numbered in the year, lines as the size
// panel writes them, no stock movement). Rows of articles without a supplier
// cannot make an order and are left out.
class ReorderOrders {
public:
    struct Created {
        qint64 supplier = 0;
        QString supplierName;
        qint64 key = 0;    // ORDINI.NUMREG
        qint64 number = 0; // NUMDOC
        qint64 pieces = 0;
    };
    struct Outcome {
        QList<Created> orders;
        int withoutSupplier = 0; // rows left out
    };

    // Throws db::Error; the orders stored before the failure stay stored.
    static Outcome create(db::Database &database, CommonRoutines &routines,
                          const QList<ReorderRow> &rows, QDate today);

    // The text that lists the orders made.
    static QString summary(const Outcome &outcome);
};

} // namespace corvale
