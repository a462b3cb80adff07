#include "stock/MovementLines.h"

#include "db/Error.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"

namespace corvale {

namespace {

// A date that does not read is no date: the line still counts, outside every period.
QDate readDate(const db::Table &lines) {
    try {
        return lines.asDate(doc::DATAREG);
    } catch (const db::Error &) {
        return {};
    }
}

} // namespace

void MovementLines::walk(db::Database &database, const QString &table, const Visitor &visit) {
    db::Table lines(database);
    lines.setTableName(table);
    lines.open();
    const bool hasType = lines.hasField(doc::TIPO);
    MovementLine line;
    for (lines.first(); !lines.eof(); lines.next()) {
        try {
            line.article = lines.asInteger(doc::NUMART);
            if (line.article <= 0)
                continue;
            line.date = readDate(lines);
            line.quantity = lines.asInteger(sheet::QUANTITA);
            line.amount = lines.asFloat(doc::IMPORTO);
            line.countsUp = !hasType || lines.asBool(doc::TIPO);
        } catch (const db::Error &) {
            continue; // a record that does not read counts for nobody
        }
        visit(line);
    }
    lines.close();
}

} // namespace corvale
