#include "sales/InvoiceCustomers.h"

#include "catalogue/ContactColumns.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "purchasing/TFFornitore.h"
#include "sales/CustomerColumns.h"
#include "shell/Shop.h"
#include "widgets/LookupCombo.h"

namespace corvale {

InvoiceAddressee InvoiceAddressee::load(db::Database &database, qint64 code) {
    InvoiceAddressee out;
    db::Table customers(database);
    customers.setTableName(customerColumns::customers);
    customers.setIndexName(customerColumns::code);
    customers.open();
    if (!customers.findKey(code))
        return out;
    out.address = customers.asString(customerColumns::address);
    if (!customers.isNull(customerColumns::cap))
        out.postcode = QString::number(customers.asInteger(customerColumns::cap));
    out.town = customers.asString(customerColumns::city);
    // The electronic invoice's fields first; the old single one otherwise.
    const QString vat = customers.asString(contactColumns::vatNumber).trimmed();
    const QString fiscal = customers.asString(contactColumns::fiscalCode).trimmed();
    out.vatNumber = !vat.isEmpty()      ? vat
                    : !fiscal.isEmpty() ? fiscal
                                        : customers.asString(customerColumns::vatNumber);
    return out;
}

InvoiceCustomers::InvoiceCustomers(Shop &shop, LookupCombo &box)
    : m_shop(shop)
    , m_box(box)
    , m_table(std::make_unique<db::Table>(shop.database())) {
    m_table->setTableName(customerColumns::customers);
    m_table->setIndexName(customerColumns::name);
}

InvoiceCustomers::~InvoiceCustomers() = default;

void InvoiceCustomers::open() {
    m_table->open();
}

void InvoiceCustomers::close() {
    m_table->close();
}

void InvoiceCustomers::fill(qint64 code) {
    if (!m_table->isOpen())
        return;
    const QSignalBlocker block(&m_box);
    m_table->refresh();
    m_box.fill(*m_table, customerColumns::name, customerColumns::code);
    if (code > 0)
        m_box.setCurrentKey(code);
    else
        m_box.setCurrentIndex(-1);
}

std::optional<qint64> InvoiceCustomers::chosen() const {
    if (m_box.currentIndex() < 0)
        return std::nullopt;
    return qint64(m_box.currentKey().toDouble());
}

QString InvoiceCustomers::chosenName() const {
    return chosen() ? m_box.currentText() : QString();
}

bool InvoiceCustomers::require() {
    if (chosen())
        return true;
    m_shop.prompter().error(QStringLiteral("Devi scegliere un cliente!"));
    return false;
}

void InvoiceCustomers::addNew(QWidget *parent) {
    TFFornitore card(m_shop, parent);
    card.CustomerMode = true;
    card.NewRecord = true;
    card.exec();
    const auto current = chosen();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        fill(!card.SavedName.isEmpty() ? card.RecordCode : current.value_or(0));
    });
}

} // namespace corvale
