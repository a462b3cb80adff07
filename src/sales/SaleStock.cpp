#include "sales/SaleStock.h"

#include "catalogue/ArticleColumns.h"
#include "db/Table.h"
#include "platform/Formats.h"
#include "shell/CommonRoutines.h"

#include <stdexcept>

namespace corvale {

namespace a = articleColumns;

void SaleStock::clear() {
    m_article = 0;
    m_articleCode.clear();
    m_rows.clear();
    m_titles.clear();
}

void SaleStock::load(db::Database &database, qint64 article, const QString &articleCode,
                     qint64 sizeType) {
    clear();
    m_article = article;
    m_articleCode = articleCode.trimmed();

    db::Table sizes(database);
    sizes.setTableName(a::sizeTypes);
    sizes.setIndexName(a::key);
    sizes.open();
    const bool known = sizes.findKey(sizeType);
    for (int n = 1; n <= positions; ++n) {
        if (!known) {
            m_titles << QStringLiteral("?");
            continue;
        }
        const QString label = sizes.asString(a::sizeCell(n)).trimmed();
        m_titles << (label.isEmpty() ? QStringLiteral(" ") : label);
    }
    sizes.close();

    db::Table stock(database);
    stock.setTableName(a::stock);
    stock.setIndexName(a::stockArticle);
    stock.open();
    stock.setRange(article, article);
    for (stock.first(); !stock.eof(); stock.next()) {
        Row row;
        row.colour = stock.asString(a::colour).trimmed();
        for (int n = 1; n <= positions; ++n)
            row.cells[n - 1] = stock.asString(a::sizeCell(n)).trimmed();
        m_rows << row;
    }
    stock.close();
}

double SaleStock::quantityOf(const QString &cell) {
    return Formats::parseNumber(cell.trimmed()).value_or(0);
}

std::optional<SaleStock::Choice> SaleStock::choose(db::Database &database, int row,
                                                   int position) const {
    if (position < 1 || position > positions || row < 0 || row >= m_rows.size())
        return std::nullopt;
    const Row &r = m_rows[row];
    if (quantityOf(r.cells[position - 1]) == 0)
        return std::nullopt;

    QString colourCode = QStringLiteral("000");
    db::Table colours(database);
    colours.setTableName(a::colours);
    colours.setIndexName(a::colour);
    colours.open();
    if (!r.colour.isEmpty() && colours.findKey(r.colour) &&
        colours.asString(a::colour).trimmed() == r.colour)
        colourCode = QString::number(colours.asInteger(a::key) + 100);
    colours.close();

    Choice c;
    c.position = position;
    c.label = m_titles.value(position - 1);
    c.colour = r.colour;
    const QString twelve = m_articleCode.left(6) + colourCode + QString::number(position + 100);
    try {
        c.barcode = CommonRoutines::EanCheckDigit(twelve);
    } catch (const std::invalid_argument &) {
        // An article code that is not six digits makes no EAN-13: the line
        // keeps the article's own code.
        c.barcode = m_articleCode;
    }
    return c;
}

} // namespace corvale
