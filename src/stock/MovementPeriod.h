#pragma once

#include <QDate>
#include <QString>

namespace corvale {

// The period of the load and unload summary ("Data"): its first and last day.
// Lines without a date fall in no period.
struct MovementPeriod {
    enum class Kind { Any, CurrentYear, CurrentMonth, Range };

    Kind kind = Kind::CurrentYear;
    QDate from; // "DAL", for a Range
    QDate to;   // "AL", for a Range

    QDate first(QDate today) const;
    QDate last(QDate today) const;
    bool contains(QDate date, QDate today) const;
    // The title of the printout.
    QString title(QDate today) const;
};

} // namespace corvale
