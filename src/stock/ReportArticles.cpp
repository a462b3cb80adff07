#include "stock/ReportArticles.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/FilterConditions.h"
#include "db/Error.h"
#include "db/Table.h"
#include "printing/SpreadsheetFile.h"

namespace corvale {

namespace ac = articleColumns;

ReportArticle ReportArticle::read(db::Table &articles) {
    return {articles.asString(ac::code), articles.asString(ac::description),
            articles.asString(ac::supplier), articles.asString(ac::brand)};
}

QStringList ReportArticle::exportCells() const {
    return {u'\'' + code, description, supplier, brand};
}

QStringList ReportArticle::exportHeading(QDate today, const QStringList &figureTitles) {
    return SpreadsheetFile::heading(
        today, QStringList{QStringLiteral("CODICE"), QStringLiteral("ARTICOLO"),
                           QStringLiteral("FORNITORE"), QStringLiteral("MARCHIO")} +
                   figureTitles);
}

ReportArticles::ReportArticles(db::Database &database, const QStringList &calculatedColumns,
                               std::function<void(db::Table &)> calculate)
    : m_table(std::make_unique<db::Table>(database)) {
    m_table->setTableName(ac::articles);
    m_table->setIndexName(ac::description);
    for (const QString &name : calculatedColumns)
        m_table->addCalculatedField(name);
    m_table->setCalcFieldsHandler(std::move(calculate));
}

ReportArticles::~ReportArticles() = default;

void ReportArticles::open() {
    m_table->open();
    setFilter(m_filter);
}

void ReportArticles::close() {
    m_table->close();
}

void ReportArticles::setFilter(const QString &text) {
    m_filter = text;
    if (!m_table->isOpen())
        return;
    FilterConditions::apply(*m_table, text);
    m_table->first();
}

void ReportArticles::forEachRow(const std::function<void(db::Table &)> &read) {
    if (!m_table->isOpen())
        return;
    db::Table &t = *m_table;
    const db::Table::Bookmark here = t.bookmark();
    for (t.first(); !t.eof(); t.next()) {
        try {
            read(t);
        } catch (const db::Error &) {
            continue; // a row that does not read adds nothing
        }
    }
    if (here.isValid())
        t.gotoBookmark(here);
    else
        t.first();
}

} // namespace corvale
