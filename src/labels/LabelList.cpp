#include "labels/LabelList.h"

#include "db/Table.h"
#include "documents/SheetColumns.h"

#include <cmath>
#include <limits>

namespace corvale {

namespace {

int labelCount(const db::Table &t) {
    if (t.isNull(sheet::LABELS))
        return 0;
    const double n = t.asFloat(sheet::LABELS);
    if (n != std::trunc(n) || n <= 0 || n > std::numeric_limits<int>::max())
        return 0;
    return int(n);
}

} // namespace

QList<LabelRow> LabelList::read(db::Table &list) {
    QList<LabelRow> rows;
    for (list.first(); !list.eof(); list.next()) {
        LabelRow r;
        r.barcode = list.asString(sheet::BARCODE).trimmed();
        r.brand = list.asString(sheet::MARCHIO);
        r.description = list.asString(sheet::DESCRIZION);
        r.colour = list.asString(sheet::COLORE);
        r.sizeLabel = list.asString(sheet::CTAGLIA);
        r.price = list.asFloat(sheet::PRZVND);
        r.discount = list.asFloat(sheet::SCONTO);
        r.count = labelCount(list);
        r.article = list.asInteger(sheet::CODICE);
        rows << r;
    }
    return rows;
}

int LabelList::total(const QList<LabelRow> &rows) {
    qint64 sum = 0;
    for (const LabelRow &r : rows)
        sum += r.count;
    return int(std::min<qint64>(sum, std::numeric_limits<int>::max()));
}

void LabelList::clearCounts(db::Table &list) {
    for (list.first(); !list.eof(); list.next()) {
        if (list.isNull(sheet::LABELS))
            continue;
        list.edit();
        list.setNull(sheet::LABELS);
        list.post();
    }
    list.first();
}

} // namespace corvale
