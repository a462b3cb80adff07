#pragma once

#include "labels/LabelRow.h"

#include <QList>

namespace corvale {

namespace db {
class Table;
}

// The label list (ELEMENTI) as the label window sees it: the rows its handle
// lets through, in record order.
class LabelList {
public:
    // The rows the handle shows. A count that is empty, not a whole number or
    // below zero is no label.
    static QList<LabelRow> read(db::Table &list);
    static int total(const QList<LabelRow> &rows);
    // Empties the count of every row the handle shows.
    static void clearCounts(db::Table &list);
};

} // namespace corvale
