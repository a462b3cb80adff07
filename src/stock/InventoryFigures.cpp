#include "stock/InventoryFigures.h"

#include "platform/Formats.h"
#include "platform/Money.h"

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
    const Money value = Money::of(purchasePrice * double(f.stock));
    if (value > Money())
        f.value = value.toDouble();
    return f;
}

InventoryTotals InventoryTotals::of(const QList<InventoryRow> &rows, bool exclude) {
    InventoryTotals t;
    Money value;
    for (const InventoryRow &r : rows) {
        t.previous += r.figures.previous;
        t.loads += r.figures.loads;
        t.sales += r.figures.sales;
        value += Money::of(r.figures.value.value_or(0));
    }
    t.value = value.toDouble();
    t.stock = (exclude ? 0 : t.previous) + t.loads - t.sales;
    return t;
}

QStringList InventoryTotals::texts() const {
    auto whole = [](qint64 n) { return Formats::format(u"%10.0n", double(n)).trimmed(); };
    return {whole(previous), whole(loads), whole(sales), whole(stock),
            Formats::format(u"%10.2n", value).trimmed()};
}

} // namespace corvale
