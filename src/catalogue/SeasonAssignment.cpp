#include "catalogue/SeasonAssignment.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/ListEntries.h"
#include "db/Table.h"

namespace corvale {

namespace a = articleColumns;

QString SeasonAssignment::listedName(db::Database &database, const QString &typed) {
    for (const QString &name : ListEntries::seasonNames(database))
        if (name.compare(typed.trimmed(), Qt::CaseInsensitive) == 0)
            return name;
    return {};
}

int SeasonAssignment::assign(db::Database &database, const QString &filter, const QString &season,
                             int year) {
    db::Table t(database);
    t.setTableName(a::articles);
    t.open();
    if (!filter.isEmpty()) {
        t.setFilter(filter);
        t.setFiltered(true);
    }
    int written = 0;
    for (t.first(); !t.eof(); t.next()) {
        t.edit();
        t.setString(a::season, season);
        t.setInteger(a::year, year);
        t.post();
        ++written;
    }
    return written;
}

} // namespace corvale
