#include "sales/SalesArchiveSelection.h"

#include "db/Table.h"
#include "documents/SheetColumns.h"

namespace corvale {

std::optional<SalesArchiveSelection::Keys>
SalesArchiveSelection::periodKeys(PeriodFilter::Period period, QDate today, const QString &fromKey,
                                  const QString &toKey) {
    using Period = PeriodFilter::Period;
    switch (period) {
    case Period::Any:
        return std::nullopt;
    case Period::CurrentYear: {
        const QString year = today.toString(QStringLiteral("yyyy"));
        return Keys{year + QStringLiteral("0101"), year + QStringLiteral("1231")};
    }
    case Period::CurrentMonth:
        // The month's own last day: "31" in every month would also take in
        // keys of days that do not exist.
        return Keys{today.toString(QStringLiteral("yyyyMM")) + QStringLiteral("01"),
                    QDate(today.year(), today.month(), today.daysInMonth())
                        .toString(QStringLiteral("yyyyMMdd"))};
    case Period::Range:
        break;
    }
    return Keys{fromKey, toKey};
}

QString SalesArchiveSelection::filterText() const {
    QString text;
    if (keys)
        text = QStringLiteral("((MYDATA >= '") + keys->low + QStringLiteral("') AND (MYDATA <= '") +
               keys->high + QStringLiteral("'))");
    if (!condition.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(" AND ")) + condition;
    return text;
}

void SalesArchiveSelection::applyTo(db::Table &table) const {
    if (table.indexName() != tag)
        table.setIndexName(tag);
    QString filter;
    if (keys && tag == doc::MYDATA) {
        table.setRange(keys->low, keys->high);
        filter = condition;
    } else {
        if (table.hasRange())
            table.cancelRange();
        filter = filterText();
    }
    table.setFilter(filter);
    table.setFiltered(!filter.isEmpty());
    table.first();
}

void SalesArchiveSelection::walk(db::Database &database, const QString &tableName,
                                 const std::function<void(const db::Table &)> &visit) const {
    db::Table walker(database);
    walker.setTableName(tableName);
    walker.open();
    applyTo(walker);
    for (; !walker.eof(); walker.next())
        visit(walker);
}

double SalesArchiveSelection::sum(db::Database &database, const QString &tableName) const {
    double total = 0;
    walk(database, tableName, [&](const db::Table &t) { total += t.asFloat(doc::TOTALE); });
    return total;
}

} // namespace corvale
