#include "purchasing/ContactCard.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/ContactColumns.h"
#include "db/Database.h"
#include "db/Table.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

namespace corvale {

ContactCard::ContactCard(Shop &shop)
    : m_shop(shop) {}

ContactCard::~ContactCard() {
    cancel();
}

bool ContactCard::begin(bool customerMode, bool newRecord, qint64 code) {
    cancel();
    m_customer = customerMode;
    m_new = newRecord;
    m_oldName.clear();
    m_table = std::make_unique<db::Table>(m_shop.database());
    m_table->setTableName(customerMode ? QStringLiteral("CLIENTI.DBF")
                                       : QStringLiteral("FORNITOR.DBF"));
    m_table->setIndexName(contactColumns::code);
    m_table->open();
    if (newRecord) {
        m_table->append();
        return true;
    }
    // Editing whatever record happens to be current would overwrite someone else.
    if (!m_table->findKey(code)) {
        m_table.reset();
        return false;
    }
    m_oldName = m_table->asString(contactColumns::name);
    m_table->edit();
    return true;
}

bool ContactCard::isActive() const {
    return m_table && m_table->isOpen();
}

db::Table &ContactCard::record() {
    return *m_table;
}

qint64 ContactCard::save() {
    db::Table &t = *m_table;
    if (m_new)
        t.setInteger(contactColumns::code,
                     m_shop.routines().NextCounter(QStringLiteral("CLIENTI"), true));
    t.post();
    const qint64 code = t.asInteger(contactColumns::code);
    const QString name = t.asString(contactColumns::name);
    t.close();
    m_table.reset();
    if (!m_customer && !m_new && name != m_oldName)
        renameSupplierInArticles(m_shop.database(), code, name);
    return code;
}

void ContactCard::cancel() {
    if (!m_table)
        return;
    m_table->cancel();
    m_table->close();
    m_table.reset();
}

int ContactCard::renameSupplierInArticles(db::Database &database, qint64 code,
                                          const QString &name) {
    db::Table articles(database);
    articles.setTableName(QStringLiteral("ARTICOLI.DBF"));
    articles.setIndexName(articleColumns::supplierKey);
    articles.open();
    articles.setRange(code, code);
    int count = 0;
    for (articles.first(); !articles.eof(); articles.next()) {
        articles.edit();
        articles.setString(articleColumns::supplier, name);
        articles.post();
        ++count;
    }
    articles.close();
    return count;
}

} // namespace corvale
