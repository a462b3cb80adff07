#include "cashbook/RegisterTotals.h"

#include "cashbook/CashBookColumns.h"
#include "db/Table.h"
#include "sales/SaleColumns.h"

#include <QDate>
#include <QMap>

#include <functional>

namespace corvale {

namespace {

// Hands every record of `name` dated from `from` to `to` to `take` with its
// date key. On the date tag only the period is read; a table without one
// (another program's copy) is read whole.
void readPeriod(db::Database &database, const QString &name, const QString &keyColumn,
                const QString &from, const QString &to,
                const std::function<void(const QString &, const db::Table &)> &take) {
    db::Table t(database);
    t.setTableName(name);
    t.open();
    if (t.indexNames().contains(keyColumn, Qt::CaseInsensitive)) {
        t.setIndexName(keyColumn);
        t.setRange(from, to);
    }
    for (t.first(); !t.eof(); t.next()) {
        const QString key = t.asString(keyColumn);
        if (key < from || key > to)
            continue;
        take(key, t);
    }
}

} // namespace

RegisterTotals::RegisterTotals(db::Database &database)
    : m_db(database) {}

QList<RegisterDay> RegisterTotals::days(const QString &from, const QString &to) {
    QMap<QString, RegisterDay> byKey;
    auto day = [&](const QString &key) -> RegisterDay * {
        const QDate date = QDate::fromString(key, QStringLiteral("yyyyMMdd"));
        // A key that names no day cannot be set beside a closure.
        if (!date.isValid())
            return nullptr;
        RegisterDay &d = byKey[key];
        d.key = key;
        d.date = date.toString(QStringLiteral("dd/MM/yyyy"));
        return &d;
    };
    // The sale's total is what the register summed, whatever tenders paid
    // it; a return or a void is stored with a negative total.
    readPeriod(m_db, cashbook::counterSales, cashbook::MYDATA, from, to,
               [&](const QString &key, const db::Table &t) {
                   if (RegisterDay *d = day(key))
                       d->takings += Money::of(t.asFloat(cashbook::TOTALE));
               });
    namespace s = saleColumns;
    readPeriod(m_db, s::closures, s::closureDateKey, from, to,
               [&](const QString &key, const db::Table &t) {
                   if (RegisterDay *d = day(key)) {
                       d->registerTotal = d->registerTotal.value_or(Money()) +
                                          Money::of(t.asFloat(s::closureTotal));
                       ++d->closures;
                   }
               });
    return byKey.values();
}

bool RegisterTotals::anyClosure(const QList<RegisterDay> &days) {
    for (const RegisterDay &d : days)
        if (d.registerTotal)
            return true;
    return false;
}

} // namespace corvale
