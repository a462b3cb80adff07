#pragma once

#include "cashbook/CashBookColumns.h"
#include "cashbook/RegisterDay.h"

#include <QList>
#include <QString>

#include <array>

namespace corvale {

using BookAmounts = std::array<double, cashbook::bookCount>;

// One line of the Prima nota: a day of takings, an invoice, a payment to a
// supplier, a hand-entered movement or one of the two lines of partial totals.
struct PrimaNotaLine {
    QString date; // "dd/mm/yyyy"; empty on the partial totals
    QString description;
    QString key; // MYDATA
    BookAmounts in{};
    BookAmounts out{};
};

// What one rebuild gathered: the period, the four sums of each book and the
// lines in the order of the work table's index (carried totals first, the
// dated lines by date, the period totals last).
struct PrimaNotaContent {
    QString fromText;
    QString toText;
    BookAmounts carriedIn{};
    BookAmounts carriedOut{};
    BookAmounts periodIn{};
    BookAmounts periodOut{};
    QList<PrimaNotaLine> lines;
    // The counter takings of each day beside the telematic register's closures.
    QList<RegisterDay> registerDays;

    // Money in the book at the end of the period: everything in minus
    // everything out up to "AL", whatever "DAL" is.
    double balance(cashbook::Book book) const {
        const int k = int(book);
        return carriedIn[k] + periodIn[k] - periodOut[k] - carriedOut[k];
    }
};

} // namespace corvale
