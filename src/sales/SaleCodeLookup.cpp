#include "sales/SaleCodeLookup.h"

#include "catalogue/ArticleColumns.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "sales/SaleColumns.h"

namespace corvale {

namespace a = articleColumns;

namespace {

std::unique_ptr<db::Table> handle(db::Database &database, const QString &table,
                                  const QString &tag) {
    auto t = std::make_unique<db::Table>(database);
    t->setTableName(table);
    t->setIndexName(tag);
    return t;
}

std::optional<int> numberAt(const QString &code, int from) {
    bool ok = false;
    const int n = code.mid(from, 3).toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

} // namespace

SaleCodeLookup::SaleCodeLookup(db::Database &database)
    : m_articles(handle(database, a::articles, a::code))
    , m_colours(handle(database, a::colours, a::key))
    , m_sizes(handle(database, a::sizeTypes, a::key))
    , m_extraCodes(handle(database, saleColumns::extraCodes, saleColumns::extraCode))
    , m_articlesByKey(handle(database, a::articles, a::key))
    , m_stock(handle(database, a::stock, a::stockArticle)) {}

SaleCodeLookup::~SaleCodeLookup() = default;

void SaleCodeLookup::open() {
    for (auto *t : {m_articles.get(), m_colours.get(), m_sizes.get(), m_extraCodes.get(),
                    m_articlesByKey.get(), m_stock.get()}) {
        t->close();
        t->open();
    }
}

void SaleCodeLookup::close() {
    for (auto *t : {m_articles.get(), m_colours.get(), m_sizes.get(), m_extraCodes.get(),
                    m_articlesByKey.get(), m_stock.get()})
        t->close();
}

qint64 SaleCodeLookup::colourNumberOf(const QString &code) {
    const auto n = numberAt(code, 6);
    return n ? *n - 100 : 0;
}

int SaleCodeLookup::positionOf(const QString &code) {
    const auto n = numberAt(code, 9);
    return n ? *n - 100 : 1;
}

bool SaleCodeLookup::stockedByColour(qint64 article) {
    m_stock->setRange(article, article);
    bool found = false;
    for (m_stock->first(); !m_stock->eof() && !found; m_stock->next())
        found = !m_stock->asString(a::colour).trimmed().isEmpty();
    m_stock->cancelRange();
    return found;
}

SaleCodeLookup::Result SaleCodeLookup::find(const QString &code) {
    Result out;
    const QString k = code.trimmed();
    if (k.isEmpty())
        return out;
    const qint64 colour = colourNumberOf(k);
    const int position = positionOf(k);
    // A size position outside the twenty would store a line no stock cell
    // holds: such a code names no line.
    const bool validPosition = position >= 1 && position <= a::sizeCount;
    if (validPosition && k.size() >= 6 && m_articles->findKey(k.left(6)) &&
        m_articles->asString(a::code).trimmed() == k.left(6)) {
        const db::Table &art = *m_articles;
        QVariantMap &v = out.line;
        v.insert(sheet::DESCRIZION, art.asString(a::description));
        v.insert(sheet::MARCHIO, art.asString(a::brand));
        v.insert(sheet::BARCODE, k);
        v.insert(sheet::CODICE, art.asInteger(a::key));
        v.insert(sheet::TIPOTAGLIA, art.value(a::sizeType));
        v.insert(sheet::PREZZO, art.value(a::salePrice));
        v.insert(sheet::QUANTITA, 1.0);
        v.insert(sheet::SCONTO, art.value(a::discount));
        v.insert(sheet::IVA, art.value(a::vat));
        v.insert(sheet::TAGLIA, position);
        // A colour or size label the code does not give stays empty, rather
        // than keeping what the row held before.
        v.insert(sheet::COLORE, QString());
        v.insert(sheet::CTAGLIA, QString());
        const bool coloured = colour > 0 && m_colours->findKey(colour);
        if (coloured)
            v.insert(sheet::COLORE, m_colours->asString(a::colour));
        // Sold without a colour, the line would lower a stock row of no
        // colour, which an article stocked by colour does not have.
        if (!coloured && stockedByColour(art.asInteger(a::key))) {
            out.line.clear();
            out.kind = Result::Kind::ChooseSize;
            out.article = art.asInteger(a::key);
            return out;
        }
        if (m_sizes->findKey(art.asInteger(a::sizeType)))
            v.insert(sheet::CTAGLIA, m_sizes->asString(a::sizeCell(position)));
        out.kind = Result::Kind::Line;
        return out;
    }
    if (m_extraCodes->findKey(k) && m_extraCodes->asString(saleColumns::extraCode).trimmed() == k) {
        const qint64 article = m_extraCodes->asInteger(saleColumns::extraCodeArticle);
        if (m_articlesByKey->findKey(article) && m_articlesByKey->asBool(a::inUse)) {
            out.kind = Result::Kind::ChooseSize;
            out.article = article;
        }
    }
    return out;
}

} // namespace corvale
