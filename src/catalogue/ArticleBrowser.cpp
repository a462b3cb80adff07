#include "catalogue/ArticleBrowser.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/FilterConditions.h"
#include "db/Table.h"
#include "shell/Shop.h"

namespace corvale {

using namespace articleColumns;

ArticleBrowser::ArticleBrowser(Shop &shop)
    : m_shop(shop)
    , m_articles(std::make_unique<db::Table>(shop.database()))
    , m_stock(std::make_unique<db::Table>(shop.database()))
    , m_titles(shop.database()) {
    m_articles->setTableName(articleColumns::articles);
    m_articles->setIndexName(description);
    m_articles->addCalculatedField(articleColumns::shownPrice);
    m_articles->setCalcFieldsHandler([this](db::Table &t) {
        t.setCalculated(
            articleColumns::shownPrice,
            ArticleBrowser::shownPrice(t.asFloat(salePrice), t.asFloat(discount), m_discounted));
    });
    m_stock->setTableName(articleColumns::stock);
    m_stock->setIndexName(stockArticle);
}

ArticleBrowser::~ArticleBrowser() = default;

double ArticleBrowser::shownPrice(double price, double discountPercent, bool discounted) {
    return discounted ? price * (1 - discountPercent / 100) : price;
}

void ArticleBrowser::open() {
    close();
    FilterConditions::apply(*m_articles, m_filter);
    m_articles->open();
    m_stock->open();
    m_articles->first();
    m_titles.forget();
    followArticle();
}

void ArticleBrowser::close() {
    m_articles->close();
    m_stock->close();
}

bool ArticleBrowser::isOpen() const {
    return m_articles->isOpen();
}

void ArticleBrowser::setDiscounted(bool discounted) {
    m_discounted = discounted;
    if (m_articles->isOpen())
        m_articles->refresh();
}

void ArticleBrowser::setFilter(const QString &text) {
    if (m_articles->isOpen()) {
        // Parsed first, so that a text the engine refuses leaves the list as it was.
        FilterConditions::apply(*m_articles, text);
        m_articles->first();
    }
    m_filter = text;
}

void ArticleBrowser::followArticle() {
    if (!m_articles->isOpen())
        return;
    const qint64 article = currentKey();
    // An empty list shows no stock rows: no article has the number -1.
    const qint64 shown = m_articles->eof() && m_articles->bof() ? -1 : article;
    m_stock->setRange(shown, shown);
    m_stock->first();
    m_titles.follow(m_articles->asInteger(sizeType));
}

bool ArticleBrowser::isEmpty() {
    return !m_articles->isOpen() || m_articles->isEmpty();
}

qint64 ArticleBrowser::currentKey() const {
    return m_articles->isOpen() ? m_articles->asInteger(key) : 0;
}

void ArticleBrowser::removeCurrent() {
    if (isEmpty())
        return;
    const qint64 article = currentKey();
    m_articles->remove();
    db::Table codes(m_shop.database());
    codes.setTableName(furtherCodes);
    codes.setIndexName(key);
    codes.open();
    codes.setRange(article, article);
    for (codes.first(); !codes.eof();)
        codes.remove();
    followArticle();
}

} // namespace corvale
