#pragma once

#include "cashbook/PrimaNotaContent.h"

#include <QString>

#include <functional>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

// The Prima nota of a period: gathers, in one pass over each source, the
// takings of counter sales and fiscal receipts day by day, the invoices, the
// payments to suppliers and the movements of the four books, with the sums
// carried from before the period, and writes them into PRIMANOT.
//
// The lines are gathered in memory before the work table is touched, so a
// source that cannot be read leaves the previous lines as they were; a write
// that fails leaves the table emptied, never half old and half new.
class PrimaNota {
public:
    enum class Period { Valid, InvalidDate, TooLong };

    explicit PrimaNota(db::Database &database);

    // Checks the period the user typed. "DAL" after "AL" becomes "AL" (a single
    // day). At most four calendar years are accepted.
    static Period checkPeriod(QString &fromText, const QString &toText);
    static QString periodMessage(Period period);

    // Reads the sources for a checked period (throws db::Error).
    PrimaNotaContent gather(const QString &fromText, const QString &toText);
    // Replaces the lines of PRIMANOT with `content` (throws db::Error after
    // emptying the table when a write fails).
    void write(const PrimaNotaContent &content);

private:
    void addTakings(const QString &table, const QString &text, const QString &from,
                    const QString &to, int firstYear, PrimaNotaContent &content);
    void addInvoices(const QString &from, const QString &to, PrimaNotaContent &content);
    void addPayments(const QString &from, const QString &to, PrimaNotaContent &content);
    void addBook(int book, const QString &from, const QString &to, PrimaNotaContent &content);
    // Opens `name`. On a table ordered by date key, hands every record before
    // `from` to `carried` and leaves the handle on the records of the period;
    // otherwise leaves it on every record in natural order (false).
    bool openByDate(db::Table &table, const QString &name, const QString &from, const QString &to,
                    const std::function<void(db::Table &)> &carried);

    db::Database &m_db;
};

} // namespace corvale
