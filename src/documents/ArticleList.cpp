#include "documents/ArticleList.h"

#include "catalogue/ArticleColumns.h"
#include "db/Database.h"
#include "db/Table.h"
#include "documents/LineBarcode.h"

namespace corvale {

namespace {
const QString &descrizion = articleColumns::description;
} // namespace

ArticleList::ArticleList(db::Database &database, bool onlyInUse)
    : m_db(database)
    , m_onlyInUse(onlyInUse)
    , m_table(std::make_unique<db::Table>(database)) {
    m_table->setTableName(articleColumns::articles);
    m_table->setIndexName(descrizion);
}

ArticleList::~ArticleList() = default;

void ArticleList::open() {
    m_table->close();
    m_table->open();
    applyFilter();
    m_table->first();
}

void ArticleList::close() {
    m_table->close();
}

bool ArticleList::isOpen() const {
    return m_table->isOpen();
}

void ArticleList::setSupplier(std::optional<qint64> supplier) {
    m_supplier = supplier;
    if (m_table->isOpen())
        applyFilter();
}

QString ArticleList::filterText() const {
    const QString supplier =
        m_supplier ? QStringLiteral("(N_FOR = %1)").arg(*m_supplier) : QString();
    if (!m_onlyInUse)
        return supplier;
    if (supplier.isEmpty())
        return QStringLiteral("INUSO");
    return QStringLiteral("INUSO AND ") + supplier;
}

void ArticleList::applyFilter() {
    const QString text = filterText();
    m_table->setFilter(text);
    m_table->setFiltered(!text.isEmpty());
}

bool ArticleList::findByDescription(const QString &description) {
    const QString wanted = description.trimmed();
    if (wanted.isEmpty() || !m_table->isOpen())
        return false;
    m_table->findNearest(wanted);
    return !m_table->eof() && m_table->asString(descrizion).trimmed() == wanted;
}

bool ArticleList::findByCode(const QString &code) {
    QString wanted = code.trimmed();
    if (const auto parts = readLineBarcode(wanted))
        wanted = parts->articlePrefix;
    if (wanted.isEmpty() || !m_table->isOpen())
        return false;
    const auto here = m_table->bookmark();
    for (m_table->first(); !m_table->eof(); m_table->next()) {
        if (m_table->asString(articleColumns::code).trimmed() == wanted)
            return true;
    }
    m_table->gotoBookmark(here);
    return false;
}

QStringList ArticleList::descriptions() {
    QStringList out;
    if (!m_table->isOpen())
        return out;
    const auto here = m_table->bookmark();
    for (m_table->first(); !m_table->eof(); m_table->next())
        out << m_table->asString(descrizion);
    if (here.isValid())
        m_table->gotoBookmark(here);
    return out;
}

SizeType loadSizeType(db::Database &database, qint64 sizeType) {
    SizeType out;
    db::Table sizes(database);
    sizes.setTableName(articleColumns::sizeTypes);
    sizes.setIndexName(articleColumns::key);
    sizes.open();
    const bool found = sizes.findKey(sizeType);
    if (found)
        out.name = sizes.asString(articleColumns::description);
    for (int p = 1; p <= 20; ++p)
        out.labels << (found ? sizes.asString(articleColumns::sizeCell(p)) : QString());
    return out;
}

} // namespace corvale
