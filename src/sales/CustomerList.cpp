#include "sales/CustomerList.h"

#include "db/Database.h"
#include "db/Table.h"
#include "sales/CustomerColumns.h"
#include "shell/CommonRoutines.h"

namespace corvale {

namespace c = customerColumns;

CustomerList::CustomerList(db::Database &database)
    : m_table(std::make_unique<db::Table>(database)) {
    m_table->setTableName(c::customers);
    m_table->setIndexName(c::name);
    m_table->addCalculatedField(totalColumn);
    m_table->addCalculatedField(pointsColumn);
    m_table->setCalcFieldsHandler([this](db::Table &t) { calculate(t); });
}

CustomerList::~CustomerList() = default;

void CustomerList::activate(double pointsPerEuro) {
    m_table->close();
    m_pointsPerEuro = pointsPerEuro;
    m_totals.rebuild(m_table->database());
    m_table->setIndexName(c::name);
    m_table->setFiltered(false);
    m_table->setFilter(QString());
    m_table->open();
    m_table->first();
}

void CustomerList::close() {
    m_table->close();
}

bool CustomerList::isOpen() const {
    return m_table->isOpen();
}

bool CustomerList::hasCurrent() const {
    return m_table->isOpen() && m_table->recordNumber() != 0;
}

void CustomerList::calculate(db::Table &t) {
    const qint64 code = t.asInteger(c::code);
    // A record without a code would take the anonymous sales as its own.
    if (code <= 0) {
        t.setCalculated(totalColumn, QVariant());
        t.setCalculated(pointsColumn, QVariant());
        return;
    }
    const double total = m_totals.total(code);
    t.setCalculated(totalColumn, total);
    // Held as a number like the stored ones, so that lists align it as one.
    t.setCalculated(pointsColumn, double(PurchaseTotals::pointsBalance(
                                      total, m_pointsPerEuro, t.asInteger(c::usedPoints))));
}

QString CustomerList::filterText(const QString &name, const QString &card) {
    QString filter;
    if (!name.isEmpty()) {
        const QString t = CommonRoutines::QuoteSql(name);
        filter = QStringLiteral("(%1 >= '%2') AND (%1 <= '%2z')").arg(c::name, t);
    }
    if (!card.isEmpty()) {
        if (!filter.isEmpty())
            filter += QStringLiteral(" AND ");
        filter += QStringLiteral("(%1 = '%2')").arg(c::card, CommonRoutines::QuoteSql(card));
    }
    return filter;
}

void CustomerList::search(const QString &name, const QString &card) {
    if (!m_table->isOpen())
        return;
    const QString filter = filterText(name, card);
    if (filter.isEmpty()) {
        m_table->setFiltered(false);
        m_table->setFilter(QString());
    } else {
        m_table->setFilter(filter);
        m_table->setFiltered(true);
    }
    m_table->first();
}

bool CustomerList::spendPoints(const QString &typed) {
    if (!hasCurrent())
        return false;
    bool whole = false;
    const qint64 points = typed.trimmed().toLongLong(&whole);
    if (!whole)
        return false;
    const double used = double(m_table->asInteger(c::usedPoints)) + double(points);
    m_table->edit();
    try {
        // In floating point so that no sum can wrap round: one too wide for the column
        // is refused by the engine instead.
        m_table->setFloat(c::usedPoints, used);
        m_table->post();
    } catch (...) {
        m_table->cancel();
        throw;
    }
    return true;
}

void CustomerList::removeCurrent() {
    if (hasCurrent())
        m_table->remove();
}

} // namespace corvale
