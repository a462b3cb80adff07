#include "documents/CodeLine.h"

#include "catalogue/ArticleColumns.h"
#include "db/Table.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"

namespace corvale {

namespace a = articleColumns;

namespace {

// Characters `from` (1-based) .. from + 2 as a number less 100; `otherwise`
// when they are missing or not a number.
qint64 codePart(const QString &code, int from, qint64 otherwise) {
    bool ok = false;
    const qint64 value = code.mid(from - 1, 3).toLongLong(&ok);
    return ok ? value - 100 : otherwise;
}

} // namespace

TypedCode TypedCode::read(const QString &code) {
    TypedCode out;
    out.article = code.left(6);
    out.colourNumber = codePart(code, 7, 0);
    out.position = int(codePart(code, 10, 1));
    return out;
}

std::optional<QString> takeCodeLine(db::Database &database, LineSheet &sheet, const QString &code,
                                    qint64 *article) {
    const QString k = code.trimmed();
    const TypedCode typed = TypedCode::read(k);
    const QString missing = QStringLiteral("Articolo inesistente!");
    if (typed.article.isEmpty())
        return missing;
    // A size outside the type's twenty positions has no stock cell to lower.
    if (typed.position < 1 || typed.position > a::sizeCount)
        return QStringLiteral("Taglia inesistente nel codice!");

    db::Table articles(database);
    articles.setTableName(a::articles);
    articles.setIndexName(a::code);
    articles.open();
    if (!articles.findKey(typed.article) || articles.asString(a::code).trimmed() != typed.article)
        return missing;

    // A colour or size label the code does not give stays empty rather than
    // keeping what the row held before.
    QString colour;
    if (typed.colourNumber != 0) {
        db::Table colours(database);
        colours.setTableName(a::colours);
        colours.setIndexName(a::key);
        colours.open();
        if (colours.findKey(typed.colourNumber))
            colour = colours.asString(a::colour);
    }
    QString sizeLabel;
    {
        db::Table sizes(database);
        sizes.setTableName(a::sizeTypes);
        sizes.setIndexName(a::key);
        sizes.open();
        if (sizes.findKey(articles.asInteger(a::sizeType)))
            sizeLabel = sizes.asString(a::sizeCell(typed.position));
    }

    db::Table &row = sheet.table();
    const bool suspended = sheet.TotalsSuspended;
    sheet.TotalsSuspended = true;
    sheet.takeArticle(articles);
    row.setString(sheet::BARCODE, k);
    row.setInteger(sheet::TAGLIA, typed.position);
    row.setString(sheet::COLORE, colour);
    row.setString(sheet::CTAGLIA, sizeLabel);
    row.post();
    row.next();
    if (row.eof())
        sheet.appendBlankRows(1);
    sheet.TotalsSuspended = suspended;
    if (article)
        *article = articles.asInteger(a::key);
    return std::nullopt;
}

} // namespace corvale
