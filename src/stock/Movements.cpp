#include "stock/Movements.h"

#include "catalogue/ArticleColumns.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/Money.h"
#include "printing/SpreadsheetFile.h"
#include "shell/Shop.h"
#include "stock/MovementLines.h"
#include "stock/StockColumns.h"

namespace corvale {

namespace ac = articleColumns;
namespace mc = stockColumns::movements;

namespace {
QVariant amount(const std::optional<double> &v) {
    return v ? QVariant(*v) : QVariant();
}
} // namespace

Movements::Movements(Shop &shop)
    : m_shop(shop)
    , m_articles(shop.database(), {mc::loads, mc::purchases, mc::unloads, mc::sales, mc::margin},
                 [this](db::Table &t) { calculate(t); }) {}

Movements::~Movements() = default;

void Movements::calculate(db::Table &t) {
    MovementFigures f;
    try {
        f = MovementFigures::of(sums(t.asInteger(ac::key)));
    } catch (const db::Error &) {
        f = {};
    }
    t.setCalculated(mc::loads, double(f.loads));
    t.setCalculated(mc::purchases, amount(f.purchases));
    t.setCalculated(mc::unloads, double(f.unloads));
    t.setCalculated(mc::sales, amount(f.sales));
    t.setCalculated(mc::margin, amount(f.margin));
}

void Movements::compute(const MovementPeriod &period) {
    m_articles.close();
    m_period = period;
    m_sums.clear();
    const QDate today = m_shop.clock().today();
    db::Database &db = m_shop.database();
    MovementLines::walk(db, stockColumns::receiptLines, [&](const MovementLine &line) {
        if (!period.contains(line.date, today))
            return;
        MovementSums &s = m_sums[line.article];
        s.purchases += line.amount;
        s.loads += line.quantity;
    });
    MovementLines::walk(db, stockColumns::returnLines, [&](const MovementLine &line) {
        if (!period.contains(line.date, today))
            return;
        MovementSums &s = m_sums[line.article];
        s.purchases -= line.amount;
        s.loads -= line.quantity;
    });
    MovementLines::walk(db, stockColumns::saleLines, [&](const MovementLine &line) {
        if (!period.contains(line.date, today))
            return;
        MovementSums &s = m_sums[line.article];
        // A line marked TIPO false gives back: it lowers the sales.
        const int sign = line.countsUp ? 1 : -1;
        s.sales += sign * line.amount;
        s.unloads += sign * line.quantity;
    });
    m_articles.open();
}

void Movements::close() {
    m_articles.close();
}

MovementSums Movements::sums(qint64 article) const {
    const auto it = m_sums.find(article);
    return it == m_sums.end() ? MovementSums{} : it->second;
}

QList<MovementRow> Movements::rows() {
    QList<MovementRow> out;
    m_articles.forEachRow([&](db::Table &t) {
        out << MovementRow{ReportArticle::read(t), MovementFigures::of(sums(t.asInteger(ac::key)))};
    });
    return out;
}

QStringList Movements::exportLines() {
    QStringList lines = ReportArticle::exportHeading(
        m_shop.clock().today(),
        {QStringLiteral("CARICHI"), QStringLiteral("ACQUISTI"), QStringLiteral("SCARICHI"),
         QStringLiteral("VENDITE"), QStringLiteral("RICAVO")});
    auto plain = [](const std::optional<double> &v) {
        return v ? Money::of(*v).exportText() : QString();
    };
    for (const MovementRow &r : rows()) {
        const MovementFigures &f = r.figures;
        lines << SpreadsheetFile::row(r.exportCells() +
                                      QStringList{QString::number(f.loads), plain(f.purchases),
                                                  QString::number(f.unloads), plain(f.sales),
                                                  plain(f.margin)});
    }
    return lines;
}

QStringList Movements::exportFor(Shop &shop, const MovementPeriod &period, const QString &filter) {
    Movements movements(shop);
    movements.setFilter(filter);
    movements.compute(period);
    QStringList lines = movements.exportLines();
    movements.close();
    return lines;
}

} // namespace corvale
