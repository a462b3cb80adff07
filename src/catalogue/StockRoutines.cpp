#include "catalogue/StockRoutines.h"

#include "catalogue/ArticleColumns.h"
#include "db/Database.h"
#include "db/Table.h"
#include "platform/Formats.h"

#include <array>
#include <cmath>
#include <optional>

namespace corvale {

namespace {

const QString stockTable = QStringLiteral("ARCARTTG.DBF");
const QString &artcode = articleColumns::stockArticle;
const QString &colore = articleColumns::colour;

QString cellName(int position) {
    return QStringLiteral("TG%1").arg(position);
}

// A size position as the document lines and the windows pass it; nothing for a
// blank, a non-number or a position outside the twenty cells.
std::optional<int> sizePositionOf(const QString &text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int position = trimmed.toInt(&ok);
    if (!ok || position < 1 || position > StockRoutines::sizePositions)
        return std::nullopt;
    return position;
}

// The colour as the stock matrix stores it: cut to the column's width, without the
// trailing blanks the file pads it with. Comparing with this keeps a long colour name
// from missing its own record and growing a new one at every movement.
QString storedColour(const db::Table &stock, const QString &colour) {
    int width = 20;
    for (const db::FieldDef &f : stock.fieldDefs()) {
        if (f.name.compare(colore, Qt::CaseInsensitive) == 0)
            width = f.length;
    }
    QString out = colour.left(width);
    while (out.endsWith(QLatin1Char(' ')))
        out.chop(1);
    return out;
}

// Cells hold whole pieces; a result that rounds to nothing leaves the cell empty.
void storeQuantity(db::Table &stock, int position, double value) {
    const double whole = std::round(value);
    if (whole == 0)
        stock.setNull(cellName(position));
    else
        stock.setFloat(cellName(position), whole);
}

void openStock(db::Table &stock) {
    stock.setTableName(stockTable);
    stock.setIndexName(artcode);
    stock.open();
}

} // namespace

StockRoutines::StockRoutines(db::Database &database)
    : m_db(database) {}

void StockRoutines::AdjustStock(qint64 article, const QString &colour, double quantity,
                                const QString &sizePosition, bool subtract) {
    const std::optional<int> position = sizePositionOf(sizePosition);
    if (!position)
        return;
    db::Table stock(m_db);
    openStock(stock);
    adjust(stock, article, colour, quantity, *position, subtract);
    stock.close();
}

void StockRoutines::adjust(db::Table &stock, qint64 article, const QString &colour, double quantity,
                           int position, bool subtract) {
    const QString wanted = storedColour(stock, colour);
    // Cells hold whole pieces. Rounding the movement rather than the result keeps a
    // movement and its undo symmetric (1.5 in and 1.5 out leaves nothing), and rounds the
    // way the rebuild does.
    quantity = double(Formats::roundHalfEven(quantity));
    stock.setRange(article, article);
    for (stock.first(); !stock.eof(); stock.next()) {
        if (stock.asString(colore) != wanted)
            continue;
        const double old = stock.asFloat(cellName(position));
        stock.edit();
        storeQuantity(stock, position, subtract ? old - quantity : old + quantity);
        stock.post();
        return;
    }
    stock.append();
    stock.setInteger(artcode, article);
    stock.setString(colore, wanted);
    storeQuantity(stock, position, subtract ? -quantity : quantity);
    stock.post();
}

void StockRoutines::undoLines(const QString &lineTable, const QString &tag, qint64 number,
                              bool subtract) {
    db::Table lines(m_db);
    lines.setTableName(lineTable);
    lines.setIndexName(tag);
    lines.open();
    lines.setRange(number, number);
    db::Table stock(m_db);
    openStock(stock);
    for (lines.first(); !lines.eof(); lines.first()) {
        if (const std::optional<int> position =
                sizePositionOf(lines.asString(articleColumns::lineSize)))
            adjust(stock, lines.asInteger(articleColumns::lineArticle), lines.asString(colore),
                   lines.asFloat(articleColumns::lineQuantity), *position, subtract);
        lines.remove();
    }
    stock.close();
    lines.close();
}

void StockRoutines::UndoReceiptLines(qint64 receipt) {
    undoLines(QStringLiteral("ARCART_A.DBF"), QStringLiteral("NUMCAR"), receipt, true);
}

void StockRoutines::UndoReturnLines(qint64 returnNumber) {
    undoLines(QStringLiteral("ARCART_R.DBF"), QStringLiteral("NUMCAR"), returnNumber, false);
}

void StockRoutines::UndoSaleLines(qint64 sale, const QString &lineTable) {
    undoLines(lineTable, QStringLiteral("NUMVEN"), sale, false);
}

void StockRoutines::DeleteOrderLines(qint64 order) {
    db::Table lines(m_db);
    lines.setTableName(QStringLiteral("ARCART_O.DBF"));
    lines.setIndexName(QStringLiteral("NUMCAR"));
    lines.open();
    lines.setRange(order, order);
    for (lines.first(); !lines.eof(); lines.first())
        lines.remove();
    lines.close();
}

void StockRoutines::RebuildStock() {
    db::Table stock(m_db);
    openStock(stock);
    stock.emptyTable();

    rebuildPass(stock, QStringLiteral("ARCART_A"), false);
    rebuildPass(stock, QStringLiteral("ARCART_V"), true);
    rebuildPass(stock, QStringLiteral("ARCART_R"), true);

    // Colours whose movements cancel out leave no record behind.
    stock.cancelRange();
    stock.first();
    while (!stock.eof()) {
        bool empty = true;
        for (int p = 1; p <= sizePositions && empty; ++p)
            empty = stock.asFloat(cellName(p)) == 0;
        if (empty)
            stock.remove();
        else
            stock.next();
    }
    stock.close();
}

void StockRoutines::rebuildPass(db::Table &stock, const QString &lineTable, bool subtract) {
    std::unique_ptr<db::Table> lines = m_db.executeSql(
        QStringLiteral("select * from %1\nOrder by %1.NUMART, %1.COLORE").arg(lineTable));

    qint64 article = 0;
    bool haveArticle = false;
    QString colour;
    std::array<qint64, sizePositions + 1> sums{};

    auto flush = [&] {
        if (!colour.isEmpty()) {
            // A negative total (customer returns booked as sales of minus pieces)
            // moves stock the same way the document did when it was saved.
            for (int p = 1; p <= sizePositions; ++p) {
                if (sums[size_t(p)] != 0)
                    adjust(stock, article, colour, double(sums[size_t(p)]), p, subtract);
            }
        }
        sums.fill(0);
    };

    for (lines->first(); !lines->eof(); lines->next()) {
        const qint64 lineArticle = lines->asInteger(articleColumns::lineArticle);
        const QString lineColour = lines->asString(colore);
        if (!haveArticle || lineArticle != article) {
            flush();
            article = lineArticle;
            haveArticle = true;
            colour = lineColour;
        }
        if (lineColour != colour) {
            flush();
            colour = lineColour;
        }
        // Lines with a size position outside the matrix are not stock.
        const qint64 position = lines->asInteger(articleColumns::lineSize);
        if (position < 1 || position > sizePositions)
            continue;
        sums[size_t(position)] +=
            Formats::roundHalfEven(lines->asFloat(articleColumns::lineQuantity));
    }
    flush();
    lines->close();
}

} // namespace corvale
