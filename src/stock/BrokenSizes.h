#pragma once

#include "catalogue/SizeRunArticles.h"
#include "platform/Money.h"

#include <QDate>
#include <QList>
#include <QStringList>

namespace corvale {

namespace db {
class Database;
}

// One broken size run: an article in one colour whose core sizes are not all
// on the shelf while other sizes still are.
struct BrokenSizeRow {
    qint64 article = 0;
    QString code;
    QString description;
    QString supplier;
    QString brand;
    QString season;
    int year = 0;
    QString colour;
    QList<int> missingPositions; // core positions at 0 or below
    QStringList missingLabels;   // their labels, in the same order
    qint64 pieces = 0;           // pieces left: the cells above 0
    Money value;                 // pieces left at the purchase price
};

// "Taglie rotte": every article and colour of the selection whose core range
// has a size at zero or below while other sizes still hold stock. A negative
// cell is a size missing from the shelf, not pieces taken off the others, so
// the pieces left are the cells above 0. Articles without a size type (or
// whose size type is gone) have no core and are left out; colours never
// received have no stock record and so nothing to report. Rows come by value
// left, highest first, then by description and colour.
class BrokenSizes {
public:
    static QList<BrokenSizeRow> compute(db::Database &database, const SizeRunSelection &selection);

    struct Totals {
        qint64 pieces = 0;
        Money value;
    };
    static Totals totals(const QList<BrokenSizeRow> &rows);

    // The report as the ".XLS" export writes it (heading, one line a row).
    static QStringList exportLines(const QList<BrokenSizeRow> &rows, QDate today);
    static const QStringList &columnTitles();
};

} // namespace corvale
