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
    , m_articles(std::make_unique<db::Table>(shop.database())) {
    m_articles->setTableName(ac::articles);
    m_articles->setIndexName(ac::description);
    for (const QString &name : {ic::previous, ic::loads, ic::sales, ic::stock, ic::value})
        m_articles->addCalculatedField(name);
    m_articles->setCalcFieldsHandler([this](db::Table &t) { calculate(t); });
}

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
    m_articles->close();
    const int current = m_shop.clock().today().year();
    const int year = m_year.value_or(current);
    m_scan.run(m_shop.database(), year,
               year < current ? InventoryScan::LaterLines::LeftOut
                              : InventoryScan::LaterLines::Earlier);
    m_articles->open();
    setFilter(m_filter);
}

void Inventory::close() {
    m_articles->close();
}

void Inventory::setExclude(bool exclude) {
    m_exclude = exclude;
    if (m_articles->isOpen())
        m_articles->refresh();
}

void Inventory::setFilter(const QString &text) {
    m_filter = text;
    if (!m_articles->isOpen())
        return;
    m_articles->setFilter(text);
    m_articles->setFiltered(!text.isEmpty());
    m_articles->first();
}

QList<InventoryRow> Inventory::rows() {
    QList<InventoryRow> out;
    if (!m_articles->isOpen())
        return out;
    db::Table &t = *m_articles;
    const db::Table::Bookmark here = t.bookmark();
    for (t.first(); !t.eof(); t.next()) {
        try {
            InventoryRow r;
            r.code = t.asString(ac::code);
            r.description = t.asString(ac::description);
            r.supplier = t.asString(ac::supplier);
            r.brand = t.asString(ac::brand);
            r.purchasePrice = t.asFloat(ac::purchasePrice);
            r.figures =
                InventoryFigures::of(m_scan.sums(t.asInteger(ac::key)), r.purchasePrice, m_exclude);
            out << r;
        } catch (const db::Error &) {
            continue; // a row that does not read adds nothing
        }
    }
    if (here.isValid())
        t.gotoBookmark(here);
    else
        t.first();
    return out;
}

QStringList Inventory::exportLines() {
    QStringList lines = SpreadsheetFile::heading(
        m_shop.clock().today(),
        {QStringLiteral("CODICE"), QStringLiteral("ARTICOLO"), QStringLiteral("FORNITORE"),
         QStringLiteral("MARCHIO"), QStringLiteral("GIAC.PREC."), QStringLiteral("CARICHI"),
         QStringLiteral("SCARICHI"), QStringLiteral("DEPOSITO"), QStringLiteral("PREZZO A."),
         QStringLiteral("VALORE")});
    const auto n = [](qint64 v) { return QString::number(v); };
    const auto money = [](double v) { return Money::of(v).exportText(); };
    for (const InventoryRow &r : rows()) {
        const InventoryFigures &f = r.figures;
        lines << SpreadsheetFile::row({u'\'' + r.code, r.description, r.supplier, r.brand,
                                       n(f.previous), n(f.loads), n(f.sales), n(f.stock),
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
