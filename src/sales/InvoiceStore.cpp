#include "sales/InvoiceStore.h"

#include "catalogue/StockRoutines.h"
#include "db/Table.h"
#include "documents/DocumentKind.h"
#include "documents/DocumentSaver.h"
#include "documents/SheetColumns.h"
#include "platform/Formats.h"
#include "sales/CustomerColumns.h"
#include "sales/InvoiceAmounts.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

namespace corvale {

namespace {

const QString ISBANCA = QStringLiteral("ISBANCA");

bool editing(const db::Table &t) {
    return t.state() == db::Table::State::Edit || t.state() == db::Table::State::Insert;
}

} // namespace

InvoiceStore::InvoiceStore(Shop &shop)
    : m_shop(shop)
    , m_header(std::make_unique<db::Table>(shop.database())) {
    m_header->setTableName(customerColumns::invoices);
    m_header->setIndexName(doc::NUMREG);
}

InvoiceStore::~InvoiceStore() = default;

bool InvoiceStore::begin(qint64 key) {
    m_header->close();
    m_header->open();
    if (key == 0) {
        const int number = m_shop.routines().NextYearNumber(customerColumns::invoices);
        m_header->append();
        m_header->setDate(doc::DATADOC, m_shop.clock().today());
        m_header->setInteger(doc::NUMDOC, number);
        m_header->setBool(ISBANCA, false);
        return true;
    }
    if (!m_header->findKey(key))
        return false;
    m_header->edit();
    return true;
}

qint64 InvoiceStore::save(qint64 key, const QList<SheetRow> &lines, QDate date,
                          const Customer &customer) {
    const InvoiceAmounts amounts = InvoiceAmounts::of(lines, 0);
    StockRoutines stock(m_shop.database());
    DocumentSaver saver(m_shop.database(), stock, m_shop.routines(), DocumentKind::invoice());
    return saver.save(*m_header, key, lines, date, [&](db::Table &h) {
        h.setInteger(customerColumns::invoiceCustomer, customer.code);
        h.setString(doc::RAGSOC, customer.name);
        h.setFloat(customerColumns::invoiceTotal, amounts.total);
    });
}

void InvoiceStore::cancel() {
    if (m_header->isOpen() && editing(*m_header))
        m_header->cancel();
}

void InvoiceStore::close() {
    m_header->close();
}

} // namespace corvale
