#include "stock/Inventory.h"

#include "catalogue/ArticleColumns.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/Money.h"
#include "printing/SpreadsheetFile.h"
#include "shell/Shop.h"
#include "stock/StockColumns.h"

namespace corvale {

namespace ac = articleColumns;
namespace ic = stockColumns::inventory;

Inventory::Inventory(Shop &shop)
    : m_shop(shop)
    , m_articles(shop.database(), {ic::previous, ic::loads, ic::sales, ic::stock, ic::value},
                 [this](db::Table &t) { calculate(t); }) {}

Inventory::~Inventory() = default;

void Inventory::calculate(db::Table &t) {
    InventoryFigures f;
    try {
        f = InventoryFigures::of(m_scan.sums(t.asInteger(ac::key)), t.asFloat(ac::purchasePrice),
                                 m_exclude);
    } catch (const db::Error &) {
        f = {}; // an article whose number does not read has no figures
    }
    t.setCalculated(ic::previous, double(f.previous));
    t.setCalculated(ic::loads, double(f.loads));
    t.setCalculated(ic::sales, double(f.sales));
    t.setCalculated(ic::stock, double(f.stock));
    t.setCalculated(ic::value, f.value ? QVariant(*f.value) : QVariant());
}

void Inventory::refresh() {
    m_articles.close();
    const int current = m_shop.clock().today().year();
    const int year = m_year.value_or(current);
    m_scan.run(m_shop.database(), year,
               year < current ? InventoryScan::LaterLines::LeftOut
                              : InventoryScan::LaterLines::Earlier);
    m_articles.open();
}

void Inventory::close() {
    m_articles.close();
}

void Inventory::setExclude(bool exclude) {
    m_exclude = exclude;
    if (articles().isOpen())
        articles().refresh();
}

QList<InventoryRow> Inventory::rows() {
    QList<InventoryRow> out;
    m_articles.forEachRow([&](db::Table &t) {
        const double price = t.asFloat(ac::purchasePrice);
        out << InventoryRow{
            ReportArticle::read(t), price,
            InventoryFigures::of(m_scan.sums(t.asInteger(ac::key)), price, m_exclude)};
    });
    return out;
}

QStringList Inventory::exportLines() {
    QStringList lines = ReportArticle::exportHeading(
        m_shop.clock().today(),
        {QStringLiteral("GIAC.PREC."), QStringLiteral("CARICHI"), QStringLiteral("SCARICHI"),
         QStringLiteral("DEPOSITO"), QStringLiteral("PREZZO A."), QStringLiteral("VALORE")});
    const auto n = [](qint64 v) { return QString::number(v); };
    const auto money = [](double v) { return Money::of(v).exportText(); };
    for (const InventoryRow &r : rows()) {
        const InventoryFigures &f = r.figures;
        lines << SpreadsheetFile::row(r.exportCells() +
                                      QStringList{n(f.previous), n(f.loads), n(f.sales), n(f.stock),
                                                  money(r.purchasePrice),
                                                  f.value ? money(*f.value) : QString()});
    }
    return lines;
}

QStringList Inventory::exportFor(Shop &shop, const QString &filter, bool exclude) {
    return exportFor(shop, shop.clock().today().year(), filter, exclude);
}

QStringList Inventory::exportFor(Shop &shop, int year, const QString &filter, bool exclude) {
    Inventory inventory(shop);
    inventory.setYear(year);
    inventory.setExclude(exclude);
    inventory.setFilter(filter);
    inventory.refresh();
    QStringList lines = inventory.exportLines();
    inventory.close();
    return lines;
}

} // namespace corvale
