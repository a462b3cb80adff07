#include "documents/LineSheet.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/SalePrices.h"
#include "db/Database.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"

#include <cmath>

namespace corvale {

namespace {

const QStringList storedColumns = {
    sheet::NUMREG, sheet::BARCODE, sheet::DESCRIZION, sheet::MARCHIO,
    sheet::MISURA, sheet::COLORE,  sheet::CTAGLIA,    sheet::QUANTITA,
    sheet::PREZZO, sheet::CODICE,  sheet::TIPOTAGLIA, sheet::TAGLIA,
    sheet::PRZVND, sheet::LABELS,  sheet::SCONTO,     sheet::IVA};

void copyValue(const db::Table &from, const QString &source, db::Table &to, const QString &target) {
    to.setValue(target, from.value(source));
}

} // namespace

LineSheet::LineSheet(db::Database &database, DocumentKind kind)
    : m_db(database)
    , m_kind(std::move(kind))
    , m_table(std::make_unique<db::Table>(database)) {
    m_table->setTableName(sheet::table);
    for (const QString &c : {sheet::cIMPORTO, sheet::cColore, sheet::fTAGLIA})
        m_table->addCalculatedField(c);
    m_table->setCalcFieldsHandler([this](db::Table &t) { calcFields(t); });
}

LineSheet::~LineSheet() = default;

void LineSheet::open() {
    m_prices.reset(); // campaigns read again for every document
    m_table->close();
    m_table->open();
    m_table->emptyTable();
}

void LineSheet::close() {
    m_table->close();
}

void LineSheet::calcFields(db::Table &t) {
    t.setCalculated(sheet::cColore, t.asString(sheet::COLORE));
    t.setCalculated(sheet::fTAGLIA, t.asString(sheet::CTAGLIA));
    t.setCalculated(sheet::cIMPORTO, amountOf(readRow(t)));
}

QVariant LineSheet::amountOf(const QVariantMap &values) const {
    const double quantity = values.value(sheet::QUANTITA).toDouble();
    if (quantity == 0)
        return {};
    const double price = values.value(sheet::PREZZO).toDouble();
    if (m_kind.lines == DocumentKind::Lines::Sale)
        return (1 - values.value(sheet::SCONTO).toDouble() * 0.01) * price * quantity;
    return quantity * price;
}

QVariantMap LineSheet::readRow(const db::Table &t) const {
    QVariantMap out;
    for (const QString &c : storedColumns)
        out.insert(c, t.value(c));
    return out;
}

void LineSheet::loadLines(qint64 key) {
    const bool suspended = TotalsSuspended;
    TotalsSuspended = true;
    db::Table lines(m_db);
    lines.setTableName(m_kind.lineTable);
    lines.setIndexName(m_kind.lineKey);
    lines.open();
    lines.setRange(key, key);
    const bool purchase = m_kind.lines == DocumentKind::Lines::Purchase;
    for (lines.first(); !lines.eof(); lines.next()) {
        m_table->append();
        for (const QString &c :
             {sheet::BARCODE, sheet::DESCRIZION, sheet::COLORE, sheet::CTAGLIA, sheet::QUANTITA,
              sheet::PREZZO, sheet::TAGLIA, sheet::TIPOTAGLIA, sheet::IVA, sheet::MARCHIO})
            copyValue(lines, c, *m_table, c);
        copyValue(lines, doc::NUMART, *m_table, sheet::CODICE);
        if (purchase) {
            copyValue(lines, sheet::MISURA, *m_table, sheet::MISURA);
            copyValue(lines, sheet::PRZVND, *m_table, sheet::PRZVND);
            if (m_kind.keepsSaleDiscount)
                copyValue(lines, doc::SCOVND, *m_table, sheet::SCONTO);
        } else {
            copyValue(lines, sheet::SCONTO, *m_table, sheet::SCONTO);
        }
        m_table->post();
    }
    lines.close();
    TotalsSuspended = suspended;
}

void LineSheet::appendBlankRows(int count) {
    for (int i = 0; i < count; ++i) {
        m_table->append();
        m_table->setNull(sheet::QUANTITA);
        m_table->post();
    }
}

void LineSheet::postPending() {
    if (m_table->state() == db::Table::State::Edit || m_table->state() == db::Table::State::Insert)
        m_table->post();
}

SheetTotals LineSheet::totalsOf(const QList<SheetRow> &rows, double discountPercent) {
    SheetTotals t;
    const double keep = 1 - discountPercent * 0.01;
    for (const SheetRow &row : rows) {
        t.pieces += qint64(row.number(sheet::QUANTITA));
        const double amount = row.amount.toDouble() * keep;
        t.taxable += amount;
        t.tax += amount * row.number(sheet::IVA) * 0.01;
    }
    t.total = t.taxable + t.tax;
    return t;
}

std::optional<SheetTotals> LineSheet::computeTotals(double discountPercent) {
    if (TotalsSuspended)
        return std::nullopt;
    // A quantity or price typed on a row without an article is neither
    // stored nor printed: it does not count here either.
    return totalsOf(allLines(), discountPercent);
}

QList<SheetRow> LineSheet::allLines() {
    postPending();
    QList<SheetRow> out;
    db::Table walker(m_db);
    walker.setTableName(sheet::table);
    walker.open();
    for (walker.first(); !walker.eof(); walker.next()) {
        QVariantMap values = readRow(walker);
        if (values.value(sheet::DESCRIZION).toString().trimmed().isEmpty())
            continue;
        out << SheetRow{values, amountOf(values)};
    }
    walker.close();
    return out;
}

bool LineSheet::currentRowHasArticle() const {
    return m_table->recordNumber() != 0 &&
           !m_table->asString(sheet::DESCRIZION).trimmed().isEmpty();
}

SheetRow LineSheet::currentRow() const {
    QVariantMap values = readRow(*m_table);
    return SheetRow{values, amountOf(values)};
}

bool LineSheet::deleteCurrentRow() {
    if (!currentRowHasArticle())
        return false;
    m_table->remove();
    return true;
}

void LineSheet::setLabelsFromQuantities() {
    postPending();
    db::Table walker(m_db);
    walker.setTableName(sheet::table);
    walker.open();
    for (walker.first(); !walker.eof(); walker.next()) {
        if (walker.isNull(sheet::QUANTITA))
            continue;
        walker.edit();
        walker.setInteger(sheet::LABELS, qint64(std::trunc(walker.asFloat(sheet::QUANTITA))));
        walker.post();
    }
    walker.close();
    m_table->refresh();
}

void LineSheet::takeArticle(const db::Table &article) {
    if (m_table->state() == db::Table::State::Browse)
        m_table->edit();
    m_table->setString(sheet::BARCODE, article.asString(articleColumns::code));
    m_table->setString(sheet::DESCRIZION, article.asString(articleColumns::description));
    m_table->setInteger(sheet::CODICE, article.asInteger(articleColumns::key));
    m_table->setString(sheet::MARCHIO, article.asString(articleColumns::brand));
    m_table->setValue(sheet::TIPOTAGLIA, article.value(articleColumns::sizeType));
    m_table->setValue(sheet::IVA, article.value(articleColumns::vat));
    if (m_kind.lines == DocumentKind::Lines::Purchase) {
        m_table->setString(sheet::MISURA, article.asString(articleColumns::typology));
        m_table->setValue(sheet::PREZZO, article.value(articleColumns::purchasePrice));
        m_table->setValue(sheet::PRZVND, article.value(articleColumns::salePrice));
        if (m_kind.keepsSaleDiscount)
            m_table->setValue(sheet::SCONTO, article.value(articleColumns::discount));
    } else {
        m_table->setValue(sheet::PREZZO, article.value(articleColumns::salePrice));
        m_table->setValue(sheet::SCONTO, article.value(articleColumns::discount));
        priceFromArticle(article);
    }
    m_table->setFloat(sheet::QUANTITA, 1);
}

void LineSheet::priceFromArticle(const db::Table &article) {
    if (!m_priceDay)
        return;
    if (!m_prices) {
        m_prices = std::make_unique<SalePrices>(m_db);
        m_prices->load();
    }
    const EffectivePrice price = m_prices->on(ArticleFacts::read(article), m_priceDay());
    if (!price.campaign)
        return;
    if (m_table->state() == db::Table::State::Browse)
        m_table->edit();
    m_table->setFloat(sheet::PREZZO, price.linePrice);
    m_table->setFloat(sheet::SCONTO, price.lineDiscount);
}

void LineSheet::writeSizeLines(const QList<SizeEntry::Line> &lines, const QString &colour) {
    if (lines.isEmpty())
        return;
    const bool suspended = TotalsSuspended;
    TotalsSuspended = true;
    if (m_table->state() == db::Table::State::Browse)
        m_table->edit();
    const QVariantMap kept = readRow(*m_table);
    auto writeLine = [&](const SizeEntry::Line &line) {
        if (!line.barcode.isEmpty())
            m_table->setString(sheet::BARCODE, line.barcode);
        m_table->setString(sheet::COLORE, colour);
        m_table->setFloat(sheet::QUANTITA, line.quantity);
        m_table->setString(sheet::CTAGLIA, line.label);
        m_table->setInteger(sheet::TAGLIA, line.position);
        m_table->post();
    };
    auto toNextFreeRow = [&] {
        m_table->next();
        while (!m_table->eof() && currentRowHasArticle())
            m_table->next();
        if (m_table->eof()) {
            m_table->append();
            m_table->setNull(sheet::QUANTITA);
            m_table->post();
        }
    };
    writeLine(lines.first());
    for (qsizetype i = 1; i < lines.size(); ++i) {
        toNextFreeRow();
        m_table->edit();
        for (const QString &c :
             {sheet::DESCRIZION, sheet::CODICE, sheet::TIPOTAGLIA, sheet::PREZZO, sheet::MISURA,
              sheet::PRZVND, sheet::IVA, sheet::SCONTO, sheet::MARCHIO, sheet::BARCODE})
            m_table->setValue(c, kept.value(c));
        writeLine(lines[i]);
    }
    m_table->next();
    TotalsSuspended = suspended;
}

} // namespace corvale
