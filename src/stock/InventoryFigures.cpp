#include "stock/InventoryFigures.h"

#include "platform/Formats.h"

#include <QList>
#include <QStringList>

namespace corvale {

InventoryFigures InventoryFigures::of(const InventorySums &sums, double purchasePrice,
                                      bool exclude) {
    InventoryFigures f;
    f.previous = sums.earlierLoads - sums.earlierSales;
    f.loads = sums.yearLoads;
    f.sales = sums.yearSales;
    f.stock = (exclude ? 0 : f.previous) + f.loads - f.sales;
    const double value = purchasePrice * double(f.stock);
    if (value > 0)
        f.value = value;
    return f;
}

InventoryTotals InventoryTotals::of(const QList<InventoryRow> &rows, bool exclude) {
    InventoryTotals t;
    for (const InventoryRow &r : rows) {
        t.previous += r.figures.previous;
        t.loads += r.figures.loads;
        t.sales += r.figures.sales;
        t.value += r.figures.value.value_or(0);
    }
    t.stock = (exclude ? 0 : t.previous) + t.loads - t.sales;
    return t;
}

QStringList InventoryTotals::texts() const {
    auto whole = [](qint64 n) { return Formats::format(u"%10.0n", double(n)).trimmed(); };
    return {whole(previous), whole(loads), whole(sales), whole(stock),
            Formats::format(u"%10.2n", value).trimmed()};
}

} // namespace corvale
