#include "stock/SellThrough.h"

#include "catalogue/ArticleColumns.h"
#include "db/Table.h"
#include "platform/Formats.h"
#include "platform/Money.h"
#include "printing/SpreadsheetFile.h"
#include "stock/MovementLines.h"
#include "stock/StockColumns.h"

#include <QDate>
#include <QHash>
#include <QMap>

namespace corvale {

namespace a = articleColumns;

namespace {

struct ArticleInfo {
    QString group;
    double list = 0;
    double purchase = 0;
    double vat = 0;
};

QString percentText(std::optional<double> v) {
    return v ? Formats::format(u"%10.1f", *v).trimmed() : QString();
}

} // namespace

std::optional<double> SellThrough::Row::sellThrough() const {
    const qint64 net = received - returned;
    if (net <= 0)
        return std::nullopt;
    return 100.0 * double(sold) / double(net);
}

std::optional<double> SellThrough::Row::averageDiscount() const {
    if (sold == 0 || listValue <= 0)
        return std::nullopt;
    return 100.0 * (1 - sales / listValue);
}

void SellThrough::Row::add(const Row &o) {
    received += o.received;
    sold += o.sold;
    returned += o.returned;
    inStock += o.inStock;
    listValue += o.listValue;
    sales += o.sales;
    netSales += o.netSales;
    cost += o.cost;
}

QList<SellThrough::Row> SellThrough::compute(db::Database &database, const Request &request) {
    QHash<qint64, ArticleInfo> articles;
    {
        db::Table t(database);
        t.setTableName(a::articles);
        t.open();
        const QString groupField = request.grouping == Grouping::Brand      ? a::brand
                                   : request.grouping == Grouping::Category ? a::category
                                                                            : a::supplier;
        const auto year = t.fieldRef(a::year);
        const QString wanted = request.season.trimmed();
        for (t.first(); !t.eof(); t.next()) {
            if (t.asString(a::season).trimmed().compare(wanted, Qt::CaseInsensitive) != 0)
                continue;
            if (request.year != 0 && t.asInteger(year) != request.year)
                continue;
            ArticleInfo info;
            info.group = t.asString(groupField).trimmed();
            if (info.group.isEmpty())
                info.group = QStringLiteral("(nessuno)");
            info.list = t.asFloat(a::salePrice);
            info.purchase = t.asFloat(a::purchasePrice);
            info.vat = t.asFloat(a::vat);
            articles.insert(t.asInteger(a::key), info);
        }
    }
    QMap<QString, Row> groups;
    for (const ArticleInfo &info : std::as_const(articles))
        groups[info.group].group = info.group;
    auto rowOf = [&](qint64 article) -> Row * {
        auto it = articles.constFind(article);
        return it == articles.constEnd() ? nullptr : &groups[it->group];
    };
    MovementLines::walk(database, stockColumns::receiptLines, [&](const MovementLine &line) {
        if (Row *r = rowOf(line.article))
            r->received += line.quantity;
    });
    MovementLines::walk(database, stockColumns::returnLines, [&](const MovementLine &line) {
        if (Row *r = rowOf(line.article))
            r->returned += line.quantity;
    });
    MovementLines::walk(database, stockColumns::saleLines, [&](const MovementLine &line) {
        Row *r = rowOf(line.article);
        if (!r)
            return;
        const ArticleInfo &info = articles[line.article];
        const int sign = line.countsUp ? 1 : -1;
        r->sold += sign * line.quantity;
        r->listValue += sign * line.quantity * info.list;
        r->sales += sign * line.amount;
        r->netSales += sign * line.amount / (1 + info.vat / 100);
        r->cost += sign * line.quantity * info.purchase;
    });
    {
        db::Table t(database);
        t.setTableName(a::stock);
        t.open();
        QList<db::Table::FieldRef> cells;
        for (int n = 1; n <= a::sizeCount; ++n)
            cells << t.fieldRef(a::sizeCell(n));
        const auto article = t.fieldRef(a::stockArticle);
        for (t.first(); !t.eof(); t.next()) {
            Row *r = rowOf(t.asInteger(article));
            if (!r)
                continue;
            for (const auto &cell : cells)
                r->inStock += t.asInteger(cell);
        }
    }
    QList<Row> out;
    for (Row &r : groups) {
        r.sales = roundToCents(r.sales);
        r.netSales = roundToCents(r.netSales);
        r.cost = roundToCents(r.cost);
        out << r;
    }
    return out;
}

SellThrough::Row SellThrough::total(const QList<Row> &rows) {
    Row t;
    t.group = QStringLiteral("TOTALE");
    for (const Row &r : rows)
        t.add(r);
    return t;
}

QString SellThrough::groupTitle(Grouping grouping) {
    switch (grouping) {
    case Grouping::Brand:
        return QStringLiteral("Marchio");
    case Grouping::Category:
        return QStringLiteral("Categoria");
    case Grouping::Supplier:
        return QStringLiteral("Fornitore");
    }
    return {};
}

QStringList SellThrough::columnTitles(Grouping grouping) {
    return {groupTitle(grouping),
            QStringLiteral("Ricevuti"),
            QStringLiteral("Venduti"),
            QStringLiteral("Resi"),
            QStringLiteral("Giacenza"),
            QStringLiteral("Venduto %"),
            QStringLiteral("Sconto medio %"),
            QStringLiteral("Margine")};
}

QStringList SellThrough::texts(const Row &r) {
    return {r.group,
            QString::number(r.received),
            QString::number(r.sold),
            QString::number(r.returned),
            QString::number(r.inStock),
            percentText(r.sellThrough()),
            percentText(r.averageDiscount()),
            Formats::format(u"%10.2n", r.margin()).trimmed()};
}

QStringList SellThrough::exportLines(QDate today, const Request &request, const QList<Row> &rows) {
    QStringList lines = SpreadsheetFile::heading(today, columnTitles(request.grouping));
    auto line = [](const Row &r) {
        QStringList v = texts(r);
        // Amounts as a spreadsheet reads them: no thousands separators.
        v.last() = Money::of(r.margin()).exportText(Money::Cents::Always);
        return SpreadsheetFile::row(v);
    };
    for (const Row &r : rows)
        lines << line(r);
    lines << line(total(rows));
    return lines;
}

} // namespace corvale
