#include "sales/PurchaseTotals.h"

#include "db/Database.h"
#include "db/Table.h"
#include "platform/Money.h"
#include "sales/CustomerColumns.h"

#include <algorithm>
#include <cmath>

namespace corvale {

namespace c = customerColumns;

namespace {

// Beyond this a code goes to the hash, so that one stray code cannot claim a huge array.
constexpr qint64 denseLimit = 1 << 22;

void addHeaders(db::Database &database, const QString &table, const QString &customerField,
                const QString &totalField, PurchaseTotals::Sums &totals) {
    if (!database.tableExists(table + QStringLiteral(".DBF")))
        return;
    db::Table headers(database);
    headers.setTableName(table);
    headers.open();
    for (headers.first(); !headers.eof(); headers.next())
        totals.add(headers.asInteger(customerField), headers.asFloat(totalField));
    headers.close();
}

} // namespace

void PurchaseTotals::Sums::add(qint64 code, double amount) {
    if (code >= 0 && code < denseLimit) {
        if (code >= qint64(dense.size()))
            dense.resize(std::max(size_t(code) + 1, dense.size() * 2), 0.0);
        dense[size_t(code)] += amount;
    } else {
        sparse[code] += amount;
    }
}

void PurchaseTotals::rebuild(db::Database &database) {
    Sums totals;
    totals.dense.assign(std::max<size_t>(m_dense.size(), 1024), 0.0);
    addHeaders(database, c::sales, c::saleCustomer, c::saleTotal, totals);
    addHeaders(database, c::invoices, c::invoiceCustomer, c::invoiceTotal, totals);
    m_dense.swap(totals.dense);
    m_sparse.swap(totals.sparse);
}

double PurchaseTotals::customerTotal(db::Database &database, qint64 code) {
    double sum = 0;
    if (database.tableExists(c::sales + QStringLiteral(".DBF"))) {
        db::Table sales(database);
        sales.setTableName(c::sales);
        sales.open();
        // A data folder brought up from an old layout may lack the tag: then every
        // header is read.
        if (sales.indexNames().contains(c::saleCustomer, Qt::CaseInsensitive)) {
            sales.setIndexName(c::saleCustomer);
            sales.setRange(code, code);
            for (sales.first(); !sales.eof(); sales.next())
                sum += sales.asFloat(c::saleTotal);
        } else {
            for (sales.first(); !sales.eof(); sales.next()) {
                if (sales.asInteger(c::saleCustomer) == code)
                    sum += sales.asFloat(c::saleTotal);
            }
        }
        sales.close();
    }
    if (database.tableExists(c::invoices + QStringLiteral(".DBF"))) {
        // Invoices carry no tag on their customer code; they are few beside the sales.
        db::Table invoices(database);
        invoices.setTableName(c::invoices);
        invoices.open();
        for (invoices.first(); !invoices.eof(); invoices.next()) {
            if (invoices.asInteger(c::invoiceCustomer) == code)
                sum += invoices.asFloat(c::invoiceTotal);
        }
        invoices.close();
    }
    return sum;
}

qint64 PurchaseTotals::pointsBalance(double total, double pointsPerEuro, qint64 usedPoints) {
    // Only whole points are ever earned, and the points used are whole too, so the
    // fraction is dropped from what was earned before the used points are taken off.
    // Dropping it after (trunc(earned - used)) would make the same customer's balance
    // depend on the sign of the difference: 10.7 earned and 30 used would be -19 there
    // and -20 here. The archive has always shown this form, so it is the one kept.
    //
    // The product is first rounded to six decimals: a total held in binary floating
    // point (19.99 × 100 = 1998.9999999999998) must not lose a whole point.
    const double earned = std::round(roundToCents(total) * pointsPerEuro * 1e6) / 1e6;
    return qint64(std::trunc(earned)) - usedPoints;
}

} // namespace corvale
