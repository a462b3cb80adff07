#include "stock/MovementLines.h"

#include "db/Error.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"

namespace corvale {

namespace {

// A date that does not read is no date: the line still counts, outside every period.
QDate readDate(const db::Table &lines, const db::Table::FieldRef &date) {
    try {
        return lines.asDate(date);
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
    // Fields looked up once: a year of lines is a million readings.
    const db::Table::FieldRef article = lines.fieldRef(doc::NUMART);
    const db::Table::FieldRef date = lines.fieldRef(doc::DATAREG);
    const db::Table::FieldRef quantity = lines.fieldRef(sheet::QUANTITA);
    const db::Table::FieldRef amount = lines.fieldRef(doc::IMPORTO);
    const db::Table::FieldRef type = hasType ? lines.fieldRef(doc::TIPO) : db::Table::FieldRef{};
    MovementLine line;
    for (lines.first(); !lines.eof(); lines.next()) {
        try {
            line.article = lines.asInteger(article);
            if (line.article <= 0)
                continue;
            line.date = readDate(lines, date);
            line.quantity = lines.asInteger(quantity);
            line.amount = lines.asFloat(amount);
            line.countsUp = !hasType || lines.asBool(type);
        } catch (const db::Error &) {
            continue; // a record that does not read counts for nobody
        }
        visit(line);
    }
    lines.close();
}

} // namespace corvale
