#include "documents/CodeDecoder.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/VoucherCode.h"
#include "db/Table.h"

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

} // namespace

CodeDecoder::CodeDecoder(db::Database &database)
    : m_articles(handle(database, a::articles, a::code))
    , m_colours(handle(database, a::colours, a::key))
    , m_sizes(handle(database, a::sizeTypes, a::key))
    , m_extraCodes(handle(database, a::furtherCodes, a::code))
    , m_articlesByKey(handle(database, a::articles, a::key))
    , m_stock(handle(database, a::stock, a::stockArticle)) {}

CodeDecoder::~CodeDecoder() = default;

void CodeDecoder::open() {
    for (auto *t : {m_articles.get(), m_colours.get(), m_sizes.get(), m_extraCodes.get(),
                    m_articlesByKey.get(), m_stock.get()}) {
        t->close();
        t->open();
    }
}

void CodeDecoder::close() {
    for (auto *t : {m_articles.get(), m_colours.get(), m_sizes.get(), m_extraCodes.get(),
                    m_articlesByKey.get(), m_stock.get()})
        t->close();
}

void CodeDecoder::ensureOpen() {
    for (auto *t : {m_articles.get(), m_colours.get(), m_sizes.get(), m_extraCodes.get(),
                    m_articlesByKey.get(), m_stock.get()})
        if (!t->isOpen())
            t->open();
}

bool CodeDecoder::stockedByColour(qint64 article) {
    m_stock->setRange(article, article);
    bool found = false;
    for (m_stock->first(); !m_stock->eof() && !found; m_stock->next())
        found = !m_stock->asString(a::colour).trimmed().isEmpty();
    m_stock->cancelRange();
    return found;
}

std::optional<qint64> CodeDecoder::extraCodeArticle(const QString &code) {
    if (!m_extraCodes->findKey(code) || m_extraCodes->asString(a::code).trimmed() != code)
        return std::nullopt;
    const qint64 article = m_extraCodes->asInteger(a::key);
    // Extra codes lead only to the articles in use.
    if (!m_articlesByKey->findKey(article) || !m_articlesByKey->asBool(a::inUse))
        return std::nullopt;
    return article;
}

DecodedCode CodeDecoder::decode(const QString &code, Search search) {
    const TypedCode typed = TypedCode::read(code);
    if (typed.isEmpty())
        return UnknownCode{UnknownCode::Reason::Empty};
    ensureOpen();
    auto reason = UnknownCode::Reason::NoArticle;
    if (typed.wrongCheckDigit)
        reason = UnknownCode::Reason::WrongCheckDigit;
    else if (!typed.positionInRange())
        reason = UnknownCode::Reason::SizeOutOfRange;
    else if (m_articles->findKey(typed.article) &&
             m_articles->asString(a::code).trimmed() == typed.article) {
        CodedLine line;
        line.code = typed;
        line.article = m_articles->asInteger(a::key);
        const bool coloured = typed.colourNumber > 0 && m_colours->findKey(typed.colourNumber);
        if (coloured)
            line.colour = m_colours->asString(a::colour);
        if (m_sizes->findKey(m_articles->asInteger(a::sizeType)))
            line.sizeLabel = m_sizes->asString(a::sizeCell(typed.position));
        line.colourToChoose = !coloured && stockedByColour(line.article);
        return line;
    }
    if (search == Search::ArticleAndExtraCodes) {
        if (const auto article = extraCodeArticle(typed.text))
            return ExtraCode{*article};
    }
    // Vouchers come last: an article or extra code of old that happens to
    // start like one still finds its article.
    if (typed.isThirteenDigits() && !typed.wrongCheckDigit &&
        typed.text.startsWith(voucherCode::prefix)) {
        if (const auto number = voucherCode::number(typed.text))
            return ScannedVoucher{*number};
    }
    return UnknownCode{reason};
}

} // namespace corvale
