#pragma once

#include "documents/DocumentKind.h"
#include "documents/SizeEntry.h"

#include <QList>
#include <QVariantMap>

#include <QDate>

#include <functional>
#include <memory>
#include <optional>

namespace corvale {

class SalePrices;

namespace db {
class Database;
class Table;
} // namespace db

// One used row of the sheet as the save and the printouts read it: the stored
// columns of ELEMENTI (a null value for an empty cell) and the row's amount.
struct SheetRow {
    QVariantMap values;
    QVariant amount; // cIMPORTO: null for a zero or empty quantity

    QString text(const QString &field) const { return values.value(field).toString().trimmed(); }
    double number(const QString &field) const { return values.value(field).toDouble(); }
};

struct SheetTotals {
    qint64 pieces = 0;
    double taxable = 0;
    double tax = 0;
    double total = 0;
};

// The line sheet ELEMENTI of the document being edited: emptied when a
// document opens, filled with its stored lines and 200 blank rows. A row is a
// line when its description is not empty. The handle is the grid's cursor.
class LineSheet {
public:
    static constexpr int blankRows = 200;

    LineSheet(db::Database &database, DocumentKind kind);
    ~LineSheet();

    db::Table &table() { return *m_table; }
    const DocumentKind &kind() const { return m_kind; }

    // While set, computeTotals() leaves the totals as they are: rows are being
    // loaded or written by the size panel.
    bool TotalsSuspended = false;

    // Empties ELEMENTI and opens it with the calculated columns.
    void open();
    void close();
    // Copies the stored lines of the document `key` into the sheet, in order.
    void loadLines(qint64 key);
    void appendBlankRows(int count = blankRows);

    // The row amount: quantity x price (less the line discount on sales);
    // null for a zero or empty quantity.
    QVariant amountOf(const QVariantMap &values) const;

    // Posts a row being edited, so that it counts and is written.
    void postPending();
    // Over every line (allLines()): pieces, taxable after the discount
    // `discountPercent`, VAT line by line, total. The cursor stays where it
    // is. Nothing while the totals are suspended.
    std::optional<SheetTotals> computeTotals(double discountPercent);
    static SheetTotals totalsOf(const QList<SheetRow> &rows, double discountPercent);

    // Every row with an article, wherever it lies among empty rows: what the
    // save stores, the printout prints and the totals count.
    QList<SheetRow> allLines();

    bool currentRowHasArticle() const;
    SheetRow currentRow() const;
    // Deletes the current row when it holds a line; false otherwise.
    bool deleteCurrentRow();
    // "Etichette": LABELS = the quantity as a whole number, on every row that has one.
    void setLabelsFromQuantities();

    // Copies the article (an ARTICOLI record) into the current row, which is
    // put into editing, with quantity 1.
    void takeArticle(const db::Table &article);
    // Sale lines take the price of the document's day, a campaign's while
    // one covers the article; `day` gives that day when asked.
    void setPriceDay(std::function<QDate()> day) { m_priceDay = std::move(day); }
    // PREZZO and SCONTO of the current row (in editing) from the article, at
    // the price of the document's day.
    void priceFromArticle(const db::Table &article);
    // Writes the lines of the size panel: the first completes the current row,
    // the others go into the next rows that hold no line (the sheet grows when
    // it runs out of rows), so no line already there is overwritten. The
    // cursor ends on the row after the last one written.
    void writeSizeLines(const QList<SizeEntry::Line> &lines, const QString &colour);

private:
    QVariantMap readRow(const db::Table &t) const;
    void calcFields(db::Table &t);

    db::Database &m_db;
    DocumentKind m_kind;
    std::unique_ptr<db::Table> m_table;
    std::function<QDate()> m_priceDay;
    std::unique_ptr<SalePrices> m_prices;
};

} // namespace corvale
