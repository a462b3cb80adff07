#pragma once

#include "sales/PurchaseTotals.h"

#include <QString>

#include <memory>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

// The customer archive's list: CLIENTI in name order, with every customer's
// purchase total ("csaldo") and points balance ("cpunti") worked out as each
// row becomes current, from totals gathered in one pass when the list is
// activated. Searched by the start of the name and by the exact card number.
class CustomerList {
public:
    // The calculated columns of the list.
    static inline const QString totalColumn = QStringLiteral("csaldo");
    static inline const QString pointsColumn = QStringLiteral("cpunti");

    explicit CustomerList(db::Database &database);
    ~CustomerList();

    db::Table &table() { return *m_table; }
    const PurchaseTotals &totals() const { return m_totals; }
    double pointsPerEuro() const { return m_pointsPerEuro; }

    // Closes the table, takes the rate, gathers the purchase totals again and
    // reopens the list in name order, unfiltered.
    void activate(double pointsPerEuro);
    void close();
    bool isOpen() const;
    // True when the table is open on a customer.
    bool hasCurrent() const;

    // The filter of the two search boxes; empty when both are.
    static QString filterText(const QString &name, const QString &card);
    void search(const QString &name, const QString &card);

    // Adds a typed number of points to the current customer's used points (a
    // negative number gives points back). False, with nothing changed, when the
    // text is not a whole number or there is no current customer. A number the
    // column cannot hold fails in the engine's words and leaves the record as it was.
    bool spendPoints(const QString &typed);
    // Deletes the current customer; their sales and invoices keep their code.
    void removeCurrent();

private:
    void calculate(db::Table &table);

    std::unique_ptr<db::Table> m_table;
    PurchaseTotals m_totals;
    double m_pointsPerEuro = 0;
};

} // namespace corvale
