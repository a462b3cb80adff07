#include "stock/InventoryScan.h"

#include "stock/MovementLines.h"
#include "stock/StockColumns.h"

namespace corvale {

void InventoryScan::run(db::Database &database, int year, LaterLines later) {
    m_sums.clear();
    m_year = year;
    // Lines without a date belong with the earlier ones, and so do those of a
    // later year unless they are left out.
    auto inYear = [year](const MovementLine &line) {
        return line.date.isValid() && line.date.year() == year;
    };
    auto counts = [year, later](const MovementLine &line) {
        return later == LaterLines::Earlier || !line.date.isValid() || line.date.year() <= year;
    };
    MovementLines::walk(database, stockColumns::receiptLines, [&](const MovementLine &line) {
        if (!counts(line))
            return;
        InventorySums &s = m_sums[line.article];
        (inYear(line) ? s.yearLoads : s.earlierLoads) += line.quantity;
    });
    MovementLines::walk(database, stockColumns::returnLines, [&](const MovementLine &line) {
        if (!counts(line))
            return;
        InventorySums &s = m_sums[line.article];
        (inYear(line) ? s.yearLoads : s.earlierLoads) -= line.quantity;
    });
    MovementLines::walk(database, stockColumns::saleLines, [&](const MovementLine &line) {
        if (!counts(line))
            return;
        InventorySums &s = m_sums[line.article];
        (inYear(line) ? s.yearSales : s.earlierSales) += line.quantity;
    });
}

InventorySums InventoryScan::sums(qint64 article) const {
    const auto it = m_sums.find(article);
    return it == m_sums.end() ? InventorySums{} : it->second;
}

} // namespace corvale
