#include "purchasing/OrderLoader.h"

#include "catalogue/StockRoutines.h"
#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "documents/DocumentSaver.h"
#include "documents/SheetColumns.h"
#include "shell/CommonRoutines.h"

namespace corvale {

namespace {

const QString orders = QStringLiteral("ORDINI");

bool receiptExists(db::Database &database, qint64 key) {
    if (key <= 0)
        return false;
    db::Table receipts(database);
    receipts.setTableName(DocumentKind::receipt().headerTable);
    receipts.setIndexName(doc::NUMREG);
    receipts.open();
    return receipts.findKey(key);
}

// An order line as the receipt's save takes a sheet row.
SheetRow rowOf(const db::Table &line) {
    SheetRow row;
    row.values.insert(sheet::CODICE, line.value(doc::NUMART));
    for (const QString &c : {sheet::BARCODE, sheet::DESCRIZION, sheet::COLORE, sheet::CTAGLIA,
                             sheet::QUANTITA, sheet::PREZZO, sheet::TAGLIA, sheet::TIPOTAGLIA,
                             sheet::IVA, sheet::MARCHIO, sheet::MISURA, sheet::PRZVND})
        row.values.insert(c, line.value(c));
    row.values.insert(sheet::SCONTO, line.value(doc::SCOVND));
    row.amount = line.value(doc::IMPORTO);
    return row;
}

} // namespace

OrderLoader::OrderLoader(db::Database &database, CommonRoutines &routines, QDate today)
    : m_db(database)
    , m_routines(routines)
    , m_today(today) {}

qint64 OrderLoader::loadedInto(qint64 order) {
    db::Table header(m_db);
    header.setTableName(orders);
    header.setIndexName(doc::NUMREG);
    header.open();
    if (!header.findKey(order))
        return 0;
    const qint64 receipt = header.asInteger(doc::NUMCAR);
    return receiptExists(m_db, receipt) ? receipt : 0;
}

OrderLoader::Result OrderLoader::load(qint64 order) {
    const DocumentKind kind = DocumentKind::supplierOrder();
    db::Table header(m_db);
    header.setTableName(kind.headerTable);
    header.setIndexName(doc::NUMREG);
    header.open();
    if (!header.findKey(order))
        return {};
    if (const qint64 earlier = loadedInto(order); earlier != 0)
        return {Outcome::AlreadyLoaded, earlier};

    QVariantMap values;
    for (const QString &f : header.fieldNames())
        values.insert(f, header.value(f));
    QList<SheetRow> rows;
    {
        db::Table lines(m_db);
        lines.setTableName(kind.lineTable);
        lines.setIndexName(kind.lineKey);
        lines.open();
        lines.setRange(order, order);
        for (lines.first(); !lines.eof(); lines.next())
            rows << rowOf(lines);
    }

    const int number = m_routines.NextYearNumber(DocumentKind::receipt().headerTable);
    db::Table receipt(m_db);
    receipt.setTableName(DocumentKind::receipt().headerTable);
    receipt.setIndexName(doc::NUMREG);
    receipt.open();
    StockRoutines stock(m_db);
    DocumentSaver saver(m_db, stock, m_routines, DocumentKind::receipt());
    const QStringList receiptFields = receipt.fieldNames();
    const qint64 key = saver.save(receipt, 0, rows, m_today, [&](db::Table &h) {
        for (auto it = values.begin(); it != values.end(); ++it) {
            if (it.key() != doc::NUMREG && receiptFields.contains(it.key()))
                h.setValue(it.key(), it.value());
        }
        // Orders carry no supplier document number.
        h.setNull(doc::NUMCAR);
        h.setInteger(doc::NUMDOC, number);
    });

    // The order remembers its receipt; without that mark the receipt goes too.
    try {
        header.edit();
        header.setInteger(doc::NUMCAR, key);
        header.post();
    } catch (const db::Error &e) {
        try {
            if (header.state() != db::Table::State::Browse)
                header.cancel();
            if (receipt.findKey(key))
                saver.remove(receipt, key);
        } catch (const db::Error &again) {
            throw db::Error(e.message() + QStringLiteral("\rRipristino non riuscito: ") +
                            again.message());
        }
        throw;
    }
    return {Outcome::Loaded, key};
}

} // namespace corvale
