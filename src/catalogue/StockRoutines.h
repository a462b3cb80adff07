#pragma once

#include <QString>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

// The only code that changes the stock matrix ARCARTTG: one record per article
// and colour, twenty quantity cells TG1..TG20. An empty cell means zero; a cell
// that comes back to zero is emptied; a colour record, once created, is never
// deleted by a movement. Stock may go negative without complaint.
//
// Every routine opens the tables it needs and closes them before returning.
// Engine failures reach the caller as db::Error; lines an undo routine has
// already handled stay deleted with their stock moved.
class StockRoutines {
public:
    explicit StockRoutines(db::Database &database);

    // Adds `quantity` to the cell of size position `sizePosition` ("1".."20")
    // of the article's colour, or subtracts it. A position that is blank, not
    // a number or outside 1..20 changes nothing (and creates no record).
    void AdjustStock(qint64 article, const QString &colour, double quantity,
                     const QString &sizePosition, bool subtract);

    // Takes the receipt's lines out of stock and deletes them.
    void UndoReceiptLines(qint64 receipt);
    // Puts the supplier return's lines back into stock and deletes them.
    void UndoReturnLines(qint64 returnNumber);
    // Puts the sale's (or invoice's) lines of `lineTable` back and deletes them.
    void UndoSaleLines(qint64 sale, const QString &lineTable);
    // Deletes the order's lines; orders never moved stock by themselves.
    void DeleteOrderLines(qint64 order);

    // Empties the stock matrix and rebuilds it from every receipt, sale and
    // supplier-return line, then drops the records left with no quantity.
    void RebuildStock();

    static constexpr int sizePositions = 20;

private:
    void adjust(db::Table &stock, qint64 article, const QString &colour, double quantity,
                int position, bool subtract);
    void undoLines(const QString &lineTable, const QString &tag, qint64 number, bool subtract);
    void rebuildPass(db::Table &stock, const QString &lineTable, bool subtract);

    db::Database &m_db;
};

} // namespace corvale
