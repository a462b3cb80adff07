#include "stock/StockLevels.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/FilterConditions.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/Formats.h"
#include "printing/SpreadsheetFile.h"
#include "shell/Shop.h"
#include "stock/StockColumns.h"

#include <QHash>

namespace corvale {

namespace ac = articleColumns;
namespace sc = stockColumns;

namespace {

// The articles of one size type, in the order of the article table.
struct Article {
    qint64 key;
    QString description;
    QString code;
    qint64 category;
    qint64 brand;
    int season;
};

} // namespace

StockLevels::StockLevels(Shop &shop)
    : m_shop(shop)
    , m_levels(std::make_unique<db::Table>(shop.database())) {
    m_levels->setTableName(sc::levels);
}

StockLevels::~StockLevels() = default;

int StockLevels::seasonNumber(const QString &season) {
    if (season == QLatin1String("Autunno/Inverno"))
        return 1;
    if (season == QLatin1String("Primavera/Estate"))
        return 2;
    if (season == QLatin1String("Quattro Stagioni"))
        return 3;
    return 0;
}

void StockLevels::rebuild(qint64 sizeType) {
    db::Database &db = m_shop.database();
    QList<Article> articles;
    QHash<qint64, Cells> sums;
    {
        db::Table t(db);
        t.setTableName(ac::articles);
        t.open();
        // The size type and key of every article are read; the rest only for
        // the articles of this size type.
        const db::Table::FieldRef typeField = t.fieldRef(ac::sizeType);
        const db::Table::FieldRef keyField = t.fieldRef(ac::key);
        for (t.first(); !t.eof(); t.next()) {
            if (t.asInteger(typeField) != sizeType)
                continue;
            const qint64 key = t.asInteger(keyField);
            articles << Article{key,
                                t.asString(ac::description),
                                t.asString(ac::code).left(10),
                                t.asInteger(ac::categoryKey),
                                t.asInteger(ac::brandKey),
                                seasonNumber(t.asString(ac::season))};
            sums.insert(key, Cells{});
        }
    }
    {
        db::Table stock(db);
        stock.setTableName(ac::stock);
        stock.open();
        db::Table::FieldRef cells[sizeCount];
        for (int i = 0; i < sizeCount; ++i)
            cells[i] = stock.fieldRef(ac::sizeCell(i + 1));
        const db::Table::FieldRef articleField = stock.fieldRef(ac::stockArticle);
        for (stock.first(); !stock.eof(); stock.next()) {
            const auto it = sums.find(stock.asInteger(articleField));
            if (it == sums.end())
                continue;
            for (int i = 0; i < sizeCount; ++i)
                (*it)[i] += stock.asInteger(cells[i]);
        }
    }
    m_levels->close();
    m_levels->open();
    m_levels->setFiltered(false);
    m_levels->emptyTable();
    QString cellNames[sizeCount];
    for (int i = 0; i < sizeCount; ++i)
        cellNames[i] = ac::sizeCell(i + 1);
    for (const Article &a : articles) {
        m_levels->append();
        m_levels->setString(sc::ARTICOLO, a.description);
        m_levels->setString(ac::code, a.code);
        const Cells &cells = sums[a.key];
        for (int i = 0; i < sizeCount; ++i)
            m_levels->setInteger(cellNames[i], cells[i]);
        m_levels->setInteger(ac::categoryKey, a.category);
        m_levels->setInteger(ac::brandKey, a.brand);
        m_levels->setInteger(sc::N_STAGIONI, a.season);
        m_levels->post();
    }
    setFilter(m_filter);
}

void StockLevels::close() {
    m_levels->close();
}

void StockLevels::setFilter(const QString &text) {
    m_filter = text;
    if (!m_levels->isOpen())
        return;
    FilterConditions::apply(*m_levels, text);
    m_levels->first();
}

QString StockLevels::filterText(const StockLevelsBoxes &b) {
    FilterConditions c;
    c.code(ac::code, b.code, articleCodeLength)
        .startsWith(sc::ARTICOLO, b.description)
        .equals(ac::brandKey, b.brand)
        .equals(ac::categoryKey, b.category);
    if (b.season > 0)
        c.equals(sc::N_STAGIONI, QString::number(b.season));
    return c.text();
}

QList<StockLevels::Row> StockLevels::rows() {
    QList<Row> out;
    if (!m_levels->isOpen())
        return out;
    db::Table &t = *m_levels;
    const db::Table::Bookmark here = t.bookmark();
    db::Table::FieldRef cells[sizeCount];
    for (int i = 0; i < sizeCount; ++i)
        cells[i] = t.fieldRef(ac::sizeCell(i + 1));
    for (t.first(); !t.eof(); t.next()) {
        Row r;
        r.description = t.asString(sc::ARTICOLO);
        r.code = t.asString(ac::code);
        for (int i = 0; i < sizeCount; ++i)
            r.cells[i] = t.asInteger(cells[i]);
        out << r;
    }
    if (here.isValid())
        t.gotoBookmark(here);
    else
        t.first();
    return out;
}

QStringList StockLevels::exportFor(Shop &shop, qint64 sizeType) {
    QStringList columns{QStringLiteral("CODICE"), QStringLiteral("ARTICOLO")};
    QString name;
    {
        db::Table types(shop.database());
        types.setTableName(ac::sizeTypes);
        types.open();
        for (types.first(); !types.eof(); types.next()) {
            if (types.asInteger(ac::key) != sizeType)
                continue;
            name = types.asString(ac::description);
            break;
        }
        for (int i = 1; i <= sizeCount; ++i)
            columns << (types.eof() ? QString() : types.asString(ac::sizeCell(i)));
    }
    StockLevels levels(shop);
    levels.rebuild(sizeType);
    QStringList lines{QStringLiteral("GIACENZE - ") + Formats::formatDate(shop.clock().today()),
                      QStringLiteral(" "), QStringLiteral("TAGLIA ") + name,
                      SpreadsheetFile::row(columns)};
    for (const Row &r : levels.rows()) {
        QStringList values{u'\'' + r.code, r.description};
        for (qint64 n : r.cells)
            values << QString::number(n);
        lines << SpreadsheetFile::row(values);
    }
    levels.close();
    return lines;
}

StockLevels::Cells StockLevels::totals(const QList<Row> &rows) {
    Cells out{};
    for (const Row &r : rows)
        for (int i = 0; i < sizeCount; ++i)
            out[i] += r.cells[i];
    return out;
}

} // namespace corvale
