#include "sales/einvoice/CreditNote.h"

#include "catalogue/StockRoutines.h"
#include "db/Table.h"
#include "documents/DocumentKind.h"
#include "documents/DocumentSaver.h"
#include "documents/SheetColumns.h"
#include "sales/CustomerColumns.h"
#include "sales/einvoice/EInvoiceColumns.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

#include <QMap>

namespace corvale {

namespace {

namespace e = einvoiceColumns;

bool isCreditNote(const db::Table &header) {
    return header.asString(e::documentType).trimmed() == e::creditNoteType;
}

// A line as the credit note's lines are matched with the invoice's.
QString lineKey(const QVariantMap &v) {
    return v.value(sheet::BARCODE).toString().trimmed() + u'|' +
           QString::number(v.value(sheet::PREZZO).toDouble(), 'f', 5) + u'|' +
           QString::number(v.value(sheet::SCONTO).toDouble(), 'f', 2);
}

QList<SheetRow> storedLines(db::Database &database, qint64 key) {
    db::Table lines(database);
    lines.setTableName(QStringLiteral("ARCART_V"));
    lines.setIndexName(QStringLiteral("NUMVEN"));
    lines.open();
    lines.setRange(key, key);
    QList<SheetRow> out;
    for (lines.first(); !lines.eof(); lines.next()) {
        SheetRow row;
        for (const QString &c : {sheet::BARCODE, sheet::DESCRIZION, sheet::MARCHIO, sheet::COLORE,
                                 sheet::CTAGLIA, sheet::QUANTITA, sheet::PREZZO, sheet::TAGLIA,
                                 sheet::TIPOTAGLIA, sheet::SCONTO, sheet::IVA})
            row.values.insert(c, lines.isNull(c) ? QVariant() : lines.value(c));
        row.values.insert(sheet::CODICE, lines.value(doc::NUMART));
        row.amount = lines.isNull(doc::IMPORTO) ? QVariant() : lines.value(doc::IMPORTO);
        out << row;
    }
    lines.close();
    return out;
}

} // namespace

double CreditNote::InvoiceLine::returnable() const {
    return row.number(sheet::QUANTITA) - returned;
}

QList<CreditNote::InvoiceLine> CreditNote::linesOf(Shop &shop, qint64 key) {
    QList<InvoiceLine> out;
    for (const SheetRow &row : storedLines(shop.database(), key))
        out << InvoiceLine{row, 0};
    // What earlier credit notes of this invoice gave back, line by line.
    QMap<QString, double> returned;
    db::Table notes(shop.database());
    notes.setTableName(customerColumns::invoices);
    notes.open();
    for (notes.first(); !notes.eof(); notes.next()) {
        if (!isCreditNote(notes) || notes.asInteger(e::creditedInvoice) != key)
            continue;
        for (const SheetRow &row : storedLines(shop.database(), notes.asInteger(doc::NUMREG)))
            returned[lineKey(row.values)] -= row.number(sheet::QUANTITA);
    }
    notes.close();
    for (InvoiceLine &line : out) {
        double &left = returned[lineKey(line.row.values)];
        line.returned = std::min(left, line.row.number(sheet::QUANTITA));
        left -= line.returned;
    }
    return out;
}

qint64 CreditNote::create(Shop &shop, qint64 key, const QList<double> &quantities, QString *error) {
    auto refuse = [&](const QString &text) {
        if (error)
            *error = text;
        return qint64(0);
    };
    db::Table header(shop.database());
    header.setTableName(customerColumns::invoices);
    header.setIndexName(doc::NUMREG);
    header.open();
    if (!header.findKey(key))
        return refuse(QStringLiteral("La fattura non è più in archivio."));
    if (isCreditNote(header))
        return refuse(QStringLiteral("Si rende la merce di una fattura, non di una nota di "
                                     "credito."));
    const QString customerName = header.asString(doc::RAGSOC);
    const qint64 customer = header.asInteger(doc::NUMRAG);
    const bool toBank = header.asBool(doc::ISBANCA);

    const QList<InvoiceLine> lines = linesOf(shop, key);
    QList<SheetRow> rows;
    double total = 0;
    for (qsizetype i = 0; i < lines.size() && i < quantities.size(); ++i) {
        const double q = quantities[i];
        if (q == 0)
            continue;
        if (q < 0 || q > lines[i].returnable() + 1e-9)
            return refuse(QStringLiteral("Riga %1: si possono rendere al massimo %2 pezzi.")
                              .arg(i + 1)
                              .arg(lines[i].returnable()));
        SheetRow row = lines[i].row;
        row.values.insert(sheet::QUANTITA, -q);
        const double amount =
            -(1 - row.number(sheet::SCONTO) * 0.01) * row.number(sheet::PREZZO) * q;
        row.amount = amount;
        total += amount;
        rows << row;
    }
    if (rows.isEmpty())
        return refuse(QStringLiteral("Nessuna merce da rendere: indicare la quantità resa di "
                                     "almeno una riga."));

    const QDate today = shop.clock().today();
    const int number = shop.routines().NextYearNumber(customerColumns::invoices);
    header.append();
    header.setDate(doc::DATADOC, today);
    header.setInteger(doc::NUMDOC, number);
    StockRoutines stock(shop.database());
    DocumentSaver saver(shop.database(), stock, shop.routines(), DocumentKind::invoice());
    const qint64 note = saver.save(header, 0, rows, today, [&](db::Table &h) {
        h.setDate(doc::DATADOC, today);
        h.setString(doc::MYDATA, today.toString(QStringLiteral("yyyyMMdd")));
        h.setInteger(doc::NUMRAG, customer);
        h.setString(doc::RAGSOC, customerName);
        h.setFloat(doc::TOTALE, total);
        h.setBool(doc::ISBANCA, toBank);
        h.setString(e::documentType, e::creditNoteType);
        h.setInteger(e::creditedInvoice, key);
    });
    header.close();
    return note;
}

} // namespace corvale
