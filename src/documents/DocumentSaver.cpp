#include "documents/DocumentSaver.h"

#include "catalogue/StockRoutines.h"
#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "shell/CommonRoutines.h"

#include <QSet>

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

void DocumentSaver::undoStoredLines(qint64 key) {
    if (m_kind.lines == DocumentKind::Lines::Sale) {
        m_stock.UndoSaleLines(key, m_kind.lineTable);
        return;
    }
    switch (m_kind.stock) {
    case DocumentKind::Stock::Add:
        m_stock.UndoReceiptLines(key);
        break;
    case DocumentKind::Stock::Subtract:
        m_stock.UndoReturnLines(key);
        break;
    case DocumentKind::Stock::None:
        m_stock.DeleteOrderLines(key);
        break;
    }
}

void DocumentSaver::moveStock(const QVariant &article, const QVariant &colour, const QVariant &size,
                              const QVariant &quantity, bool takeBack) {
    if (m_kind.stock == DocumentKind::Stock::None)
        return;
    const bool subtract = (m_kind.stock == DocumentKind::Stock::Subtract) != takeBack;
    m_stock.AdjustStock(qint64(article.toDouble()), colour.toString().trimmed(),
                        quantity.toDouble(), sizeText(size), subtract);
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
        if (stored.findKey(key))
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
            journal.oldUndone = true; // an undo that fails half way is put right too
            undoStoredLines(key);
            if (!editing(header))
                header.edit();
        }
        writeHeader(header);
        header.post();
        journal.headerPosted = true;

        db::Table lines(m_db);
        lines.setTableName(m_kind.lineTable);
        lines.open();
        for (const SheetRow &row : rows) {
            writeLine(lines, journal.key, row, documentDate);
            journal.postedLines << lines.recordNumber();
            const QVariantMap &v = row.values;
            moveStock(v.value(sheet::CODICE), v.value(sheet::COLORE), v.value(sheet::TAGLIA),
                      v.value(sheet::QUANTITA), false);
            journal.adjustedLines << row;
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
    // The new lines and their stock.
    if (!journal.postedLines.isEmpty()) {
        for (const SheetRow &row : journal.adjustedLines) {
            const QVariantMap &v = row.values;
            moveStock(v.value(sheet::CODICE), v.value(sheet::COLORE), v.value(sheet::TAGLIA),
                      v.value(sheet::QUANTITA), true);
        }
        db::Table lines(m_db);
        lines.setTableName(m_kind.lineTable);
        lines.open();
        for (uint32_t recno : journal.postedLines) {
            lines.gotoBookmark({recno});
            if (lines.recordNumber() == recno)
                lines.remove();
        }
    }

    // The header, left as the user had it.
    if (editing(header))
        header.cancel();
    if (key == 0) {
        if (journal.headerPosted) {
            db::Table stored(m_db);
            stored.setTableName(m_kind.headerTable);
            stored.setIndexName(doc::NUMREG);
            stored.open();
            if (stored.findKey(journal.key))
                stored.remove();
            header.refresh();
        }
        header.append();
        QVariantMap values = userValues;
        values.insert(doc::NUMREG, QVariant());
        restore(header, values);
    } else {
        if (journal.headerPosted && !diskValues.isEmpty()) {
            db::Table stored(m_db);
            stored.setTableName(m_kind.headerTable);
            stored.setIndexName(doc::NUMREG);
            stored.open();
            if (stored.findKey(key)) {
                stored.edit();
                restore(stored, diskValues);
                stored.post();
            }
            header.refresh();
        }
        header.edit();
        restore(header, userValues);
    }

    // The stored lines the undo had already taken out, with their stock.
    if (journal.oldUndone) {
        db::Table lines(m_db);
        lines.setTableName(m_kind.lineTable);
        lines.setIndexName(m_kind.lineKey);
        lines.open();
        lines.setRange(key, key);
        QSet<uint32_t> present;
        for (lines.first(); !lines.eof(); lines.next())
            present.insert(lines.recordNumber());
        lines.cancelRange();
        for (const OldLine &old : oldLines) {
            if (present.contains(old.recno))
                continue;
            lines.append();
            restore(lines, old.values);
            lines.post();
            moveStock(old.values.value(doc::NUMART), old.values.value(sheet::COLORE),
                      old.values.value(sheet::TAGLIA), old.values.value(sheet::QUANTITA), false);
        }
    }
}

void DocumentSaver::remove(db::Table &header, qint64 key) {
    undoStoredLines(key);
    if (editing(header))
        header.cancel();
    if (header.asInteger(doc::NUMREG) == key)
        header.remove();
}

} // namespace corvale
