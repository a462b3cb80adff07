#include "statistics/ArticleValues.h"

#include "db/Error.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "stock/StockColumns.h"

#include <algorithm>

namespace corvale {

ArticleSales ArticleValues::read(db::Database &database, qint64 article,
                                 const ChartPeriod &period) {
    ArticleSales out;
    const int columns = period.columns();
    out.values.assign(size_t(columns), 0);
    const bool yearly = period.mode == ChartMode::Yearly;

    db::Table lines(database);
    lines.setTableName(stockColumns::saleLines);
    lines.open();
    // The engine's filter tests the raw records, much faster than reading
    // every article number through the handle.
    lines.setFilter(QStringLiteral("%1 = %2").arg(doc::NUMART).arg(article));
    lines.setFiltered(true);
    for (lines.first(); !lines.eof(); lines.next()) {
        try {
            if (lines.asInteger(doc::NUMART) != article)
                continue;
            const QDate date = lines.asDate(doc::DATAREG);
            if (!date.isValid() || date.year() != period.year)
                continue;
            if (!yearly && date.month() != period.month)
                continue;
            const int column = yearly ? date.month() : date.day();
            out.values[size_t(column - 1)] += lines.asInteger(sheet::QUANTITA);
        } catch (const db::Error &) {
            // A line that does not read counts for no article.
        }
    }
    lines.close();
    for (qint64 v : out.values)
        out.maximum = std::max(out.maximum, v);
    return out;
}

} // namespace corvale
