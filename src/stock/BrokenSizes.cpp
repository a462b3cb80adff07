#include "stock/BrokenSizes.h"

#include "catalogue/SizeTypeCore.h"
#include "catalogue/StockMatrixScan.h"
#include "platform/Formats.h"
#include "printing/SpreadsheetFile.h"

#include <algorithm>

namespace corvale {

QList<BrokenSizeRow> BrokenSizes::compute(db::Database &database,
                                          const SizeRunSelection &selection) {
    const QHash<qint64, SizeRunArticle> articles = SizeRunArticles::read(database, selection);
    const QHash<qint64, SizeTypeCore> types = SizeTypeCore::readAll(database);
    QHash<qint64, QList<int>> cores;
    for (auto it = types.begin(); it != types.end(); ++it)
        cores.insert(it.key(), it->corePositions());

    QList<BrokenSizeRow> rows;
    StockMatrixScan::walk(
        database, [&](qint64 key, const QString &colour, const StockMatrixScan::Cells &cells) {
            const auto article = articles.constFind(key);
            if (article == articles.constEnd())
                return;
            const auto core = cores.constFind(article->sizeType);
            if (core == cores.constEnd() || core->isEmpty())
                return;
            qint64 pieces = 0;
            for (qint64 q : cells)
                pieces += std::max<qint64>(q, 0);
            if (pieces == 0)
                return;
            BrokenSizeRow row;
            const SizeTypeCore &type = *types.constFind(article->sizeType);
            for (int p : *core) {
                if (cells[size_t(p - 1)] <= 0) {
                    row.missingPositions << p;
                    row.missingLabels << type.label(p);
                }
            }
            if (row.missingPositions.isEmpty())
                return;
            row.article = key;
            row.code = article->code;
            row.description = article->description;
            row.supplier = article->supplier;
            row.brand = article->brand;
            row.season = article->season;
            row.year = article->year;
            row.colour = colour;
            row.pieces = pieces;
            row.value = Money::fromCents(article->purchasePrice.cents() * pieces);
            rows << row;
        });
    std::sort(rows.begin(), rows.end(), [](const BrokenSizeRow &a, const BrokenSizeRow &b) {
        if (a.value != b.value)
            return a.value > b.value;
        if (a.description != b.description)
            return a.description < b.description;
        if (a.article != b.article)
            return a.article < b.article;
        return a.colour < b.colour;
    });
    return rows;
}

BrokenSizes::Totals BrokenSizes::totals(const QList<BrokenSizeRow> &rows) {
    Totals t;
    for (const BrokenSizeRow &r : rows) {
        t.pieces += r.pieces;
        t.value += r.value;
    }
    return t;
}

const QStringList &BrokenSizes::columnTitles() {
    static const QStringList titles{
        QStringLiteral("Codice"),          QStringLiteral("Articolo"), QStringLiteral("Colore"),
        QStringLiteral("Fornitore"),       QStringLiteral("Marchio"),  QStringLiteral("Stagione"),
        QStringLiteral("Taglie mancanti"), QStringLiteral("Pezzi"),    QStringLiteral("Valore")};
    return titles;
}

QStringList BrokenSizes::exportLines(const QList<BrokenSizeRow> &rows, QDate today) {
    QStringList lines = SpreadsheetFile::heading(today, columnTitles());
    lines[0] = QStringLiteral("TAGLIE ROTTE - ") + Formats::formatDate(today);
    for (const BrokenSizeRow &r : rows) {
        const QString season = r.year > 0 ? r.season + u' ' + QString::number(r.year) : r.season;
        lines << SpreadsheetFile::row({u'\'' + r.code, r.description, r.colour, r.supplier, r.brand,
                                       season.trimmed(), r.missingLabels.join(u' '),
                                       QString::number(r.pieces),
                                       r.value.exportText(Money::Cents::Always)});
    }
    return lines;
}

} // namespace corvale
