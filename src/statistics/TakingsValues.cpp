#include "statistics/TakingsValues.h"

#include "db/Error.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "stock/StockColumns.h"

#include <algorithm>

namespace corvale {

namespace {

// The two digits at `at` of a date key, or 0 when they are not digits.
int twoDigits(const QString &key, int at) {
    if (key.size() < at + 2)
        return 0;
    const QChar a = key[at];
    const QChar b = key[at + 1];
    if (!a.isDigit() || !b.isDigit())
        return 0;
    return (a.unicode() - u'0') * 10 + (b.unicode() - u'0');
}

} // namespace

Takings TakingsValues::read(db::Database &database, const ChartPeriod &period) {
    const int columns = period.columns();
    std::vector<double> values(size_t(columns), 0.0);
    const QString yearKey = QString::number(period.year).rightJustified(4, u'0');
    const bool yearly = period.mode == ChartMode::Yearly;

    db::Table sales(database);
    sales.setTableName(stockColumns::sales);
    sales.open();
    // The engine's filter tests the raw records: the keys of other years never
    // reach the handle's field reading, which is what costs.
    sales.setFilter(
        QStringLiteral("%1 >= '%2' AND %1 <= '%3'")
            .arg(doc::MYDATA, yearKey + QStringLiteral("0000"), yearKey + QStringLiteral("9999")));
    sales.setFiltered(true);
    for (sales.first(); !sales.eof(); sales.next()) {
        const QString key = sales.asString(doc::MYDATA);
        if (!key.startsWith(yearKey))
            continue;
        const int month = twoDigits(key, 4);
        if (!yearly && month != period.month)
            continue;
        const int column = yearly ? month : twoDigits(key, 6);
        if (column < 1 || column > columns)
            continue;
        try {
            values[size_t(column - 1)] += sales.asFloat(doc::TOTALE);
        } catch (const db::Error &) {
            // An amount that does not read belongs to no column.
        }
    }
    sales.close();
    return summed(std::move(values));
}

Takings TakingsValues::summed(std::vector<double> values) {
    Takings out;
    out.values = std::move(values);
    for (double v : out.values) {
        out.total += v;
        out.maximum = std::max(out.maximum, v);
    }
    return out;
}

} // namespace corvale
