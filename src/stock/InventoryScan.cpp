#include "stock/InventoryScan.h"

#include "stock/MovementLines.h"
#include "stock/StockColumns.h"

namespace corvale {

void InventoryScan::run(db::Database &database, int year) {
    m_sums.clear();
    m_year = year;
    // Lines without a date, or of a later year, belong with the earlier ones.
    auto inYear = [year](const MovementLine &line) {
        return line.date.isValid() && line.date.year() == year;
    };
    MovementLines::walk(database, stockColumns::receiptLines, [&](const MovementLine &line) {
        InventorySums &s = m_sums[line.article];
        (inYear(line) ? s.yearLoads : s.earlierLoads) += line.quantity;
    });
    MovementLines::walk(database, stockColumns::returnLines, [&](const MovementLine &line) {
        InventorySums &s = m_sums[line.article];
        (inYear(line) ? s.yearLoads : s.earlierLoads) -= line.quantity;
    });
    MovementLines::walk(database, stockColumns::saleLines, [&](const MovementLine &line) {
        InventorySums &s = m_sums[line.article];
        (inYear(line) ? s.yearSales : s.earlierSales) += line.quantity;
    });
}

InventorySums InventoryScan::sums(qint64 article) const {
    const auto it = m_sums.find(article);
    return it == m_sums.end() ? InventorySums{} : it->second;
}

} // namespace corvale
