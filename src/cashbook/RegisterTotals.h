#pragma once

#include "cashbook/RegisterDay.h"

#include <QList>
#include <QString>

namespace corvale {

namespace db {
class Database;
}

// The day-by-day check of the program's counter takings against the daily
// closures the telematic register confirmed (CHIUSURE): every day of a period
// with a sale or a closure, in date order.
class RegisterTotals {
public:
    explicit RegisterTotals(db::Database &database);

    // `from` and `to` are date keys ("yyyymmdd"), both included (throws db::Error).
    QList<RegisterDay> days(const QString &from, const QString &to);

    // True when at least one of the days has a closure to compare with.
    static bool anyClosure(const QList<RegisterDay> &days);

private:
    db::Database &m_db;
};

} // namespace corvale
