#pragma once

#include "documents/PeriodFilter.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

// Which documents a sales-side archive lists: those whose date key MYDATA lies
// in the period and that meet an extra condition (the article search's
// "( FINDV )"), in the order of a tag. On the date tag the period is a key
// range, so a year of a ten-year archive is read without visiting the rest;
// on any other tag it is the same bounds as a filter.
struct SalesArchiveSelection {
    struct Keys {
        QString low;
        QString high;
    };

    QString tag;
    std::optional<Keys> keys; // none: any date
    QString condition;

    // The bounds of `period`: the current year, the current month to its real
    // last day, or the date keys of "DAL" and "AL".
    static std::optional<Keys> periodKeys(PeriodFilter::Period period, QDate today,
                                          const QString &fromKey, const QString &toKey);

    // The whole selection as one filter text.
    QString filterText() const;
    // Puts `table` (open) on the selection and on its first document.
    void applyTo(db::Table &table) const;
    // A new handle on `tableName` over the same documents, for walking them
    // without moving the list's cursor.
    void walk(db::Database &database, const QString &tableName,
              const std::function<void(const db::Table &)> &visit) const;
    // The sum of TOTALE over the selected documents of `tableName`.
    double sum(db::Database &database, const QString &tableName) const;
};

} // namespace corvale
