#include "stock/MovementFigures.h"

#include "platform/Formats.h"
#include "platform/Money.h"

namespace corvale {

namespace {
// An amount that comes to 0 at the cent stays empty, whatever noise the
// sum of the lines left behind.
std::optional<double> unlessZero(Money m) {
    return m.isZero() ? std::nullopt : std::optional<double>(m.toDouble());
}
} // namespace

MovementFigures MovementFigures::of(const MovementSums &s) {
    MovementFigures f;
    f.loads = s.loads;
    f.unloads = s.unloads;
    const Money purchases = Money::of(s.purchases);
    const Money sales = Money::of(s.sales);
    f.purchases = unlessZero(purchases);
    f.sales = unlessZero(sales);
    f.margin = unlessZero(sales - purchases);
    return f;
}

MovementTotals MovementTotals::of(const QList<MovementRow> &rows) {
    MovementTotals t;
    Money purchases, sales;
    for (const MovementRow &r : rows) {
        t.loads += r.figures.loads;
        t.unloads += r.figures.unloads;
        purchases += Money::of(r.figures.purchases.value_or(0));
        sales += Money::of(r.figures.sales.value_or(0));
    }
    t.purchases = purchases.toDouble();
    t.sales = sales.toDouble();
    return t;
}

QStringList MovementTotals::texts() const {
    auto whole = [](qint64 n) { return Formats::format(u"%10.0n", double(n)).trimmed(); };
    auto money = [](Money m) { return Formats::format(u"%10.2n", m.toDouble()).trimmed(); };
    const Money p = Money::of(purchases), s = Money::of(sales);
    return {whole(loads), whole(unloads), money(p), money(s), money(s - p)};
}

} // namespace corvale
