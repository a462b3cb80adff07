#include "catalogue/LabelPreparation.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/FilterConditions.h"
#include "catalogue/SizeTitles.h"
#include "db/Table.h"
#include "shell/CommonRoutines.h"

#include <stdexcept>

namespace corvale {

using namespace articleColumns;

LabelPreparation::LabelPreparation(db::Database &database)
    : m_database(database) {}

std::optional<QString> LabelPreparation::lineBarcode(const QString &articleCode,
                                                     const QString &colourCode, int position) {
    const QString prefix = articleCode.trimmed().left(6);
    if (prefix.size() != 6 || colourCode.size() != 3)
        return std::nullopt;
    try {
        return CommonRoutines::EanCheckDigit(prefix + colourCode + QString::number(position + 100));
    } catch (const std::invalid_argument &) {
        return std::nullopt;
    }
}

QString LabelPreparation::colourCode(db::Table &colours, const QString &colour) {
    if (!colours.findKey(colour))
        return QStringLiteral("000");
    return QString::number(colours.asInteger(key) + 100);
}

LabelPreparation::Result LabelPreparation::prepare(const QString &filter, bool onlyInStock,
                                                   const QSet<qint64> *only) {
    db::Table list(m_database);
    list.setTableName(articles);
    list.setIndexName(description);
    FilterConditions::apply(list, filter);
    db::Table rows(m_database);
    rows.setTableName(stock);
    rows.setIndexName(stockArticle);
    db::Table colourList(m_database);
    colourList.setTableName(colours);
    colourList.setIndexName(colour);
    db::Table labels(m_database);
    labels.setTableName(sheet);

    labels.open();
    labels.emptyTable();
    list.open();
    rows.open();
    colourList.open();

    SizeTitles titles(m_database);
    Result result;
    for (list.first(); !list.eof(); list.next()) {
        const qint64 article = list.asInteger(key);
        if (only && !only->contains(article))
            continue;
        titles.follow(list.asInteger(sizeType));
        rows.setRange(article, article);
        for (rows.first(); !rows.eof(); rows.next()) {
            const QString rowColour = rows.asString(colour);
            const QString colourDigits = colourCode(colourList, rowColour);
            for (int n = 1; n <= sizeCount; ++n) {
                const QString label = titles.titles().at(n - 1).trimmed();
                const qint64 quantity = rows.asInteger(sizeCell(n));
                if (label.isEmpty() || (onlyInStock && quantity <= 0))
                    continue;
                const std::optional<QString> barcode =
                    lineBarcode(list.asString(code), colourDigits, n);
                if (!barcode) {
                    ++result.skipped;
                    continue;
                }
                labels.append();
                labels.setString(brand, list.asString(brand));
                labels.setString(code, *barcode);
                labels.setInteger(sheetArticle, article);
                labels.setString(description, list.asString(description));
                labels.setString(colour, rowColour);
                labels.setString(sheetSizeLabel, label);
                labels.setFloat(sheetPrice, list.asFloat(salePrice));
                labels.setFloat(discount, list.asFloat(discount));
                labels.setInteger(sheetLabels, quantity);
                labels.post();
                ++result.written;
            }
        }
    }
    return result;
}

} // namespace corvale
