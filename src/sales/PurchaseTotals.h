#pragma once

#include <QHash>
#include <QtGlobal>

#include <vector>

namespace corvale {

namespace db {
class Database;
}

// What every customer has bought from the shop: the sum of the TOTALE of their
// counter sales (VENDITE.NUMCLI) and invoices (FATTURE.NUMRAG). Loyalty points
// are never stored; they are worked out from these totals, the shop's points
// per euro and the points already used (CLIENTI.DECPUNTI).
//
// Every customer code has its entry, however high. Anonymous sales (no
// customer code) gather under code 0, which belongs to no customer.
class PurchaseTotals {
public:
    // One pass over the sale and invoice headers; the lines are never read.
    void rebuild(db::Database &database);
    // 0 for a code that bought nothing.
    double total(qint64 code) const {
        if (code >= 0 && code < qint64(m_dense.size()))
            return m_dense[size_t(code)];
        return m_sparse.value(code, 0.0);
    }

    // One customer's total read fresh: the sales through the NUMCLI tag, so its cost
    // follows that customer's sales, not the size of the archive.
    static double customerTotal(db::Database &database, qint64 code);

    // The points left to a customer: trunc(total × pointsPerEuro) − usedPoints.
    static qint64 pointsBalance(double total, double pointsPerEuro, qint64 usedPoints);

    // Codes come from a counter, so they are mostly small and close together: those
    // live in a plain array; any other code (a huge or negative one typed by hand) in a hash.
    struct Sums {
        std::vector<double> dense;
        QHash<qint64, double> sparse;
        void add(qint64 code, double amount);
    };

private:
    std::vector<double> m_dense;
    QHash<qint64, double> m_sparse;
};

} // namespace corvale
