#include "catalogue/SizeTitles.h"

#include "catalogue/ArticleColumns.h"
#include "db/Table.h"

namespace corvale {

using namespace articleColumns;

SizeTitles::SizeTitles(db::Database &database)
    : m_database(database) {
    for (int n = 1; n <= sizeCount; ++n)
        m_titles << QStringLiteral("?");
}

bool SizeTitles::follow(qint64 sizeType) {
    if (m_known && sizeType == m_sizeType)
        return false;
    m_titles = read(m_database, sizeType);
    m_sizeType = sizeType;
    m_known = true;
    return true;
}

QStringList SizeTitles::read(db::Database &database, qint64 sizeType) {
    QStringList titles;
    db::Table types(database);
    types.setTableName(sizeTypes);
    types.setIndexName(key);
    types.open();
    const bool found = types.findKey(sizeType);
    for (int n = 1; n <= sizeCount; ++n) {
        if (!found) {
            titles << QStringLiteral("?");
            continue;
        }
        const QString label = types.asString(sizeCell(n));
        titles << (label.isEmpty() ? QStringLiteral(" ") : label);
    }
    return titles;
}

} // namespace corvale
