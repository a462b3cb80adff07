#include "stock/MovementFigures.h"

#include "platform/Formats.h"

namespace corvale {

namespace {
std::optional<double> unlessZero(double v) {
    return v == 0 ? std::nullopt : std::optional<double>(v);
}
} // namespace

MovementFigures MovementFigures::of(const MovementSums &s) {
    MovementFigures f;
    f.loads = s.loads;
    f.unloads = s.unloads;
    f.purchases = unlessZero(s.purchases);
    f.sales = unlessZero(s.sales);
    f.margin = unlessZero(s.sales - s.purchases);
    return f;
}

MovementTotals MovementTotals::of(const QList<MovementRow> &rows) {
    MovementTotals t;
    for (const MovementRow &r : rows) {
        t.loads += r.figures.loads;
        t.unloads += r.figures.unloads;
        t.purchases += r.figures.purchases.value_or(0);
        t.sales += r.figures.sales.value_or(0);
    }
    return t;
}

QStringList MovementTotals::texts() const {
    auto whole = [](qint64 n) { return Formats::format(u"%10.0n", double(n)).trimmed(); };
    auto money = [](double v) { return Formats::format(u"%10.2n", v).trimmed(); };
    return {whole(loads), whole(unloads), money(purchases), money(sales), money(sales - purchases)};
}

} // namespace corvale
