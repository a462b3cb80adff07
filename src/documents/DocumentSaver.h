#pragma once

#include "documents/DocumentKind.h"
#include "documents/LineSheet.h"

#include <QDate>
#include <functional>

namespace corvale {

class CommonRoutines;
class StockRoutines;

namespace db {
class Database;
class Table;
} // namespace db

// Stores a document: its header, its lines and their stock movements, so that
// a stored document is replaced as a whole and a failure half way leaves the
// tables as they were.
//
// Order of the writes: the key (a new document) or the undo of the stored
// lines, each one's stock taken back and then the line deleted; then the
// header; then each line followed at once by its stock movement. Each step is
// noted as it completes. When the engine fails, the noted steps are taken back
// in reverse order: the new lines' stock and the lines themselves, the header
// (a new one is deleted, a stored one gets its old values back) and the old
// lines with their stock. The header
// handle is left as the user had it (inserting or editing), so that a second
// "Salva" can follow; the engine's error then reaches the caller.
class DocumentSaver {
public:
    DocumentSaver(db::Database &database, StockRoutines &stock, CommonRoutines &routines,
                  DocumentKind kind);

    // `header` is on the record being edited: a new one (being inserted,
    // `key` 0) or the stored document `key`. `writeHeader` sets the header's
    // own columns before it is posted; the saver dates it: DATADOC is
    // `documentDate` and MYDATA its date key. Returns the document's key.
    // A stored `key` that is not there, or that `header` is not on, is
    // refused with a db::Error before anything is written.
    // Throws db::Error after undoing what it had done.
    qint64 save(db::Table &header, qint64 key, const QList<SheetRow> &lines, QDate documentDate,
                const std::function<void(db::Table &)> &writeHeader);

    // Deletes a stored document: its lines leave (or go back into) the stock
    // and are deleted, then the header `header` is on is deleted.
    void remove(db::Table &header, qint64 key);

private:
    struct OldLine {
        uint32_t recno;
        QVariantMap values;
    };
    struct Journal {
        qint64 key = 0;
        QList<qsizetype> oldStockTaken; // old lines whose stock was taken back
        QList<qsizetype> oldDeleted;    // old lines deleted
        QList<SheetRow> movedLines;     // new lines whose stock is stored
    };

    void undoStoredLines(const QList<OldLine> &oldLines, Journal &journal);
    void restoreOldLines(const QList<OldLine> &oldLines, const Journal &journal);
    void writeLine(db::Table &lines, qint64 key, const SheetRow &row, QDate date);
    // What one line moves in the stock matrix, read once from its columns.
    struct StockMove {
        qint64 article = 0;
        QString colour;
        QString position; // as AdjustStock takes it: empty for none
        double quantity = 0;

        static StockMove of(const QVariantMap &line, const QString &articleField);
    };

    void moveStock(const StockMove &move, bool takeBack);
    // Moves the stock of one line; `moved` tells whether the movement is
    // stored, also when the engine fails after storing it (its error is
    // passed on).
    void moveStockNoted(const StockMove &move, bool takeBack, bool &moved);
    double stockCell(const StockMove &move);
    bool lineStillThere(uint32_t recno);
    QList<OldLine> storedLines(qint64 key);
    static QVariantMap snapshot(const db::Table &table);
    static void restore(db::Table &table, const QVariantMap &values);
    void rollback(db::Table &header, qint64 key, const Journal &journal,
                  const QVariantMap &userValues, const QVariantMap &diskValues,
                  const QList<OldLine> &oldLines);

    db::Database &m_db;
    StockRoutines &m_stock;
    CommonRoutines &m_routines;
    DocumentKind m_kind;
};

} // namespace corvale
