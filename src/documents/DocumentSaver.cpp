#include "documents/DocumentSaver.h"

#include "catalogue/StockRoutines.h"
#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/Formats.h"
#include "shell/CommonRoutines.h"

namespace corvale {

namespace {

bool editing(const db::Table &t) {
    return t.state() == db::Table::State::Edit || t.state() == db::Table::State::Insert;
}

QString sizeText(const QVariant &size) {
    return size.isNull() ? QString() : QString::number(qint64(size.toDouble()));
}

} // namespace

DocumentSaver::DocumentSaver(db::Database &database, StockRoutines &stock, CommonRoutines &routines,
                             DocumentKind kind)
    : m_db(database)
    , m_stock(stock)
    , m_routines(routines)
    , m_kind(std::move(kind)) {}

QVariantMap DocumentSaver::snapshot(const db::Table &table) {
    QVariantMap out;
    for (const QString &f : table.fieldNames())
        out.insert(f, table.value(f));
    return out;
}

void DocumentSaver::restore(db::Table &table, const QVariantMap &values) {
    for (auto it = values.begin(); it != values.end(); ++it)
        table.setValue(it.key(), it.value());
}

QList<DocumentSaver::OldLine> DocumentSaver::storedLines(qint64 key) {
    QList<OldLine> out;
    db::Table lines(m_db);
    lines.setTableName(m_kind.lineTable);
    lines.setIndexName(m_kind.lineKey);
    lines.open();
    lines.setRange(key, key);
    for (lines.first(); !lines.eof(); lines.next())
        out << OldLine{lines.recordNumber(), snapshot(lines)};
    return out;
}

DocumentSaver::StockMove DocumentSaver::StockMove::of(const QVariantMap &line,
                                                      const QString &articleField) {
    StockMove move;
    move.article = qint64(line.value(articleField).toDouble());
    move.colour = line.value(sheet::COLORE).toString().trimmed();
    move.position = sizeText(line.value(sheet::TAGLIA));
    move.quantity = line.value(sheet::QUANTITA).toDouble();
    return move;
}

void DocumentSaver::moveStock(const StockMove &move, bool takeBack) {
    if (m_kind.stock == DocumentKind::Stock::None)
        return;
    const bool subtract = (m_kind.stock == DocumentKind::Stock::Subtract) != takeBack;
    m_stock.AdjustStock(move.article, move.colour, move.quantity, move.position, subtract);
}

double DocumentSaver::stockCell(const StockMove &move) {
    bool ok = false;
    const int p = move.position.toInt(&ok);
    if (!ok || p < 1 || p > StockRoutines::sizePositions)
        return 0;
    db::Table stock(m_db);
    stock.setTableName(QStringLiteral("ARCARTTG"));
    stock.setIndexName(QStringLiteral("ARTCODE"));
    stock.open();
    stock.setRange(move.article, move.article);
    const QString wanted = move.colour.left(20);
    for (stock.first(); !stock.eof(); stock.next()) {
        if (stock.asString(sheet::COLORE).left(20) == wanted)
            return stock.asFloat(QStringLiteral("TG%1").arg(p));
    }
    return 0;
}

void DocumentSaver::moveStockNoted(const StockMove &move, bool takeBack, bool &moved) {
    moved = false;
    if (m_kind.stock == DocumentKind::Stock::None) {
        moved = true;
        return;
    }
    const double before = stockCell(move);
    try {
        moveStock(move, takeBack);
    } catch (const db::Error &) {
        // The engine may fail after the cell was stored (closing the table,
        // say): the cell tells whether there is a movement to take back.
        try {
            moved = stockCell(move) != before;
        } catch (const db::Error &) {
        }
        throw;
    }
    moved = true;
}

bool DocumentSaver::lineStillThere(uint32_t recno) {
    db::Table lines(m_db);
    lines.setTableName(m_kind.lineTable);
    lines.open();
    lines.gotoBookmark({recno});
    return lines.recordNumber() == recno && !lines.isDeleted();
}

void DocumentSaver::undoStoredLines(const QList<OldLine> &oldLines, Journal &journal) {
    db::Table lines(m_db);
    lines.setTableName(m_kind.lineTable);
    lines.open();
    for (qsizetype i = 0; i < oldLines.size(); ++i) {
        const OldLine &old = oldLines[i];
        // Stock first, as the undo routines do; each step is noted once it is stored.
        bool moved = false;
        try {
            moveStockNoted(StockMove::of(old.values, doc::NUMART), true, moved);
        } catch (const db::Error &) {
            if (moved)
                journal.oldStockTaken << i;
            throw;
        }
        journal.oldStockTaken << i;
        try {
            lines.gotoBookmark({old.recno});
            if (lines.recordNumber() == old.recno)
                lines.remove();
        } catch (const db::Error &) {
            if (!lineStillThere(old.recno))
                journal.oldDeleted << i;
            throw;
        }
        journal.oldDeleted << i;
    }
}

void DocumentSaver::restoreOldLines(const QList<OldLine> &oldLines, const Journal &journal) {
    if (journal.oldDeleted.isEmpty() && journal.oldStockTaken.isEmpty())
        return;
    db::Table lines(m_db);
    lines.setTableName(m_kind.lineTable);
    lines.open();
    for (qsizetype i : journal.oldDeleted) {
        lines.append();
        restore(lines, oldLines[i].values);
        lines.post();
    }
    lines.close();
    for (qsizetype i : journal.oldStockTaken)
        moveStock(StockMove::of(oldLines[i].values, doc::NUMART), false);
}

void DocumentSaver::writeLine(db::Table &lines, qint64 key, const SheetRow &row, QDate date) {
    const QVariantMap &v = row.values;
    lines.append();
    lines.setInteger(m_kind.lineKey, key);
    lines.setValue(doc::NUMART, v.value(sheet::CODICE));
    for (const QString &c :
         {sheet::BARCODE, sheet::DESCRIZION, sheet::COLORE, sheet::CTAGLIA, sheet::QUANTITA,
          sheet::PREZZO, sheet::TAGLIA, sheet::TIPOTAGLIA, sheet::IVA, sheet::MARCHIO})
        lines.setValue(c, v.value(c));
    lines.setValue(doc::IMPORTO, row.amount);
    lines.setDate(doc::DATAREG, date);
    if (m_kind.lines == DocumentKind::Lines::Purchase) {
        lines.setValue(sheet::MISURA, v.value(sheet::MISURA));
        lines.setValue(sheet::PRZVND, v.value(sheet::PRZVND));
        if (m_kind.keepsSaleDiscount)
            lines.setValue(doc::SCOVND, v.value(sheet::SCONTO));
    } else {
        lines.setValue(sheet::SCONTO, v.value(sheet::SCONTO));
        lines.setBool(doc::TIPO, true);
    }
    lines.post();
}

qint64 DocumentSaver::save(db::Table &header, qint64 key, const QList<SheetRow> &rows,
                           QDate documentDate,
                           const std::function<void(db::Table &)> &writeHeader) {
    const QVariantMap userValues = snapshot(header);
    QVariantMap diskValues;
    QList<OldLine> oldLines;
    if (key != 0) {
        db::Table stored(m_db);
        stored.setTableName(m_kind.headerTable);
        stored.setIndexName(doc::NUMREG);
        stored.open();
        // Saved through a handle on another record (or on none), the header
        // would overwrite that one and the lines would hang on a number that
        // has no header.
        if (!stored.findKey(key))
            throw db::Error(
                QStringLiteral("%1: il documento %2 non è in archivio, non è stato salvato!")
                    .arg(m_kind.headerTable)
                    .arg(key));
        if (!header.isOpen() || header.state() == db::Table::State::Insert ||
            header.recordNumber() != stored.recordNumber())
            throw db::Error(
                QStringLiteral("%1: il documento %2 non è quello aperto, non è stato salvato!")
                    .arg(m_kind.headerTable)
                    .arg(key));
        diskValues = snapshot(stored);
        oldLines = storedLines(key);
    }

    Journal journal;
    try {
        if (key == 0) {
            journal.key = m_routines.NextCounter(m_kind.counter, true);
            if (!editing(header))
                header.append();
            header.setInteger(doc::NUMREG, journal.key);
        } else {
            journal.key = key;
            undoStoredLines(oldLines, journal);
            if (!editing(header))
                header.edit();
        }
        writeHeader(header);
        // One rule for every kind: the date key follows the date on every
        // save, so that a corrected date moves the document in the yearly
        // numbering and in the archives' periods.
        header.setDate(doc::DATADOC, documentDate);
        header.setString(doc::MYDATA, CommonRoutines::DateKey(Formats::formatDate(documentDate)));
        header.post();

        db::Table lines(m_db);
        lines.setTableName(m_kind.lineTable);
        lines.open();
        for (const SheetRow &row : rows) {
            writeLine(lines, journal.key, row, documentDate);
            bool moved = false;
            try {
                moveStockNoted(StockMove::of(row.values, sheet::CODICE), false, moved);
            } catch (const db::Error &) {
                if (moved)
                    journal.movedLines << row;
                throw;
            }
            journal.movedLines << row;
        }
        lines.close();
    } catch (const db::Error &e) {
        try {
            rollback(header, key, journal, userValues, diskValues, oldLines);
        } catch (const db::Error &again) {
            throw db::Error(e.message() + QStringLiteral("\rRipristino non riuscito: ") +
                            again.message());
        }
        throw;
    }
    return journal.key;
}

void DocumentSaver::rollback(db::Table &header, qint64 key, const Journal &journal,
                             const QVariantMap &userValues, const QVariantMap &diskValues,
                             const QList<OldLine> &oldLines) {
    // The new lines' stock, then every line of the document that is not an old one.
    for (const SheetRow &row : journal.movedLines)
        moveStock(StockMove::of(row.values, sheet::CODICE), true);
    if (journal.key != 0) {
        QList<uint32_t> old;
        for (const OldLine &line : oldLines)
            old << line.recno;
        db::Table lines(m_db);
        lines.setTableName(m_kind.lineTable);
        lines.setIndexName(m_kind.lineKey);
        lines.open();
        lines.setRange(journal.key, journal.key);
        QList<uint32_t> added;
        for (lines.first(); !lines.eof(); lines.next()) {
            if (!old.contains(lines.recordNumber()))
                added << lines.recordNumber();
        }
        lines.cancelRange();
        for (uint32_t recno : added) {
            lines.gotoBookmark({recno});
            if (lines.recordNumber() == recno)
                lines.remove();
        }
    }

    // The header, on disk as it was and in the handle as the user had it.
    if (editing(header))
        header.cancel();
    if (journal.key != 0 && (key == 0 || !diskValues.isEmpty())) {
        db::Table stored(m_db);
        stored.setTableName(m_kind.headerTable);
        stored.setIndexName(doc::NUMREG);
        stored.open();
        if (stored.findKey(journal.key)) {
            if (key == 0) {
                stored.remove();
            } else {
                stored.edit();
                restore(stored, diskValues);
                stored.post();
            }
        }
        stored.close();
        if (header.recordNumber() != 0)
            header.refresh();
    }
    if (key == 0) {
        header.append();
        QVariantMap values = userValues;
        values.insert(doc::NUMREG, QVariant());
        restore(header, values);
    } else {
        header.edit();
        restore(header, userValues);
    }

    // The stored lines the undo had already taken out, with their stock.
    restoreOldLines(oldLines, journal);
}

void DocumentSaver::remove(db::Table &header, qint64 key) {
    const QList<OldLine> oldLines = storedLines(key);
    Journal journal;
    try {
        undoStoredLines(oldLines, journal);
        if (editing(header))
            header.cancel();
        if (header.asInteger(doc::NUMREG) == key)
            header.remove();
    } catch (const db::Error &e) {
        try {
            restoreOldLines(oldLines, journal);
        } catch (const db::Error &again) {
            throw db::Error(e.message() + QStringLiteral("\rRipristino non riuscito: ") +
                            again.message());
        }
        throw;
    }
}

} // namespace corvale
