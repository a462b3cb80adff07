#pragma once

#include <QString>
#include <QtGlobal>

namespace corvale {

namespace db {
class Database;
}

// What the shop owes each supplier, from a chosen year on: the statement rows
// in TABLE3 (a "Dare Iniziale" row per supplier holding every earlier receipt
// less every earlier return, then each receipt as "Fattura" and each return as
// "Reso Merce" with its total negated), and the payments recorded in ACCONTI.
// Any supplier code has its opening balance.
class SupplierStatement {
public:
    explicit SupplierStatement(db::Database &database);

    // Empties TABLE3 and writes the rows for the year `year`.
    void build(int year);

    // The sum of the supplier's statement rows (after build()).
    double documents(qint64 supplier);
    // The sum of the supplier's payments (customers' deposits are not counted).
    double payments(qint64 supplier);
    // documents - payments: the whole debt, whatever the year built.
    double balance(qint64 supplier) { return documents(supplier) - payments(supplier); }

private:
    db::Database &m_db;
};

} // namespace corvale
