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
    , m_articles(std::make_unique<db::Table>(shop.database())) {
    m_articles->setTableName(ac::articles);
    m_articles->setIndexName(ac::description);
    for (const QString &name : {mc::loads, mc::purchases, mc::unloads, mc::sales, mc::margin})
        m_articles->addCalculatedField(name);
    m_articles->setCalcFieldsHandler([this](db::Table &t) { calculate(t); });
}

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
    m_articles->close();
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
    m_articles->open();
    setFilter(m_filter);
}

void Movements::close() {
    m_articles->close();
}

void Movements::setFilter(const QString &text) {
    m_filter = text;
    if (!m_articles->isOpen())
        return;
    m_articles->setFilter(text);
    m_articles->setFiltered(!text.isEmpty());
    m_articles->first();
}

MovementSums Movements::sums(qint64 article) const {
    const auto it = m_sums.find(article);
    return it == m_sums.end() ? MovementSums{} : it->second;
}

QList<MovementRow> Movements::rows() {
    QList<MovementRow> out;
    if (!m_articles->isOpen())
        return out;
    db::Table &t = *m_articles;
    const db::Table::Bookmark here = t.bookmark();
    for (t.first(); !t.eof(); t.next()) {
        try {
            MovementRow r;
            r.code = t.asString(ac::code);
            r.description = t.asString(ac::description);
            r.supplier = t.asString(ac::supplier);
            r.brand = t.asString(ac::brand);
            r.figures = MovementFigures::of(sums(t.asInteger(ac::key)));
            out << r;
        } catch (const db::Error &) {
            continue;
        }
    }
    if (here.isValid())
        t.gotoBookmark(here);
    else
        t.first();
    return out;
}

QStringList Movements::exportLines() {
    QStringList lines = SpreadsheetFile::heading(
        m_shop.clock().today(),
        {QStringLiteral("CODICE"), QStringLiteral("ARTICOLO"), QStringLiteral("FORNITORE"),
         QStringLiteral("MARCHIO"), QStringLiteral("CARICHI"), QStringLiteral("ACQUISTI"),
         QStringLiteral("SCARICHI"), QStringLiteral("VENDITE"), QStringLiteral("RICAVO")});
    auto plain = [](const std::optional<double> &v) {
        return v ? Money::of(*v).exportText() : QString();
    };
    for (const MovementRow &r : rows()) {
        const MovementFigures &f = r.figures;
        lines << SpreadsheetFile::row(
            {u'\'' + r.code, r.description, r.supplier, r.brand, QString::number(f.loads),
             plain(f.purchases), QString::number(f.unloads), plain(f.sales), plain(f.margin)});
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
