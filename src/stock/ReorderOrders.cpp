#include "stock/ReorderOrders.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/StockRoutines.h"
#include "db/Table.h"
#include "documents/DocumentSaver.h"
#include "documents/LineBarcode.h"
#include "documents/SheetColumns.h"
#include "shell/CommonRoutines.h"
#include "stock/StockColumns.h"

#include <QMap>

namespace corvale {

namespace {

// The colour numbers by name, for the line barcodes.
QHash<QString, qint64> colourNumbers(db::Database &database) {
    QHash<QString, qint64> out;
    db::Table t(database);
    t.setTableName(articleColumns::colours);
    t.open();
    for (t.first(); !t.eof(); t.next()) {
        // The stock matrix keeps the first 20 characters of a colour's name.
        const QString name = t.asString(articleColumns::colour).trimmed().left(20).trimmed();
        if (!out.contains(name))
            out.insert(name, t.asInteger(articleColumns::key));
    }
    return out;
}

QString supplierName(db::Database &database, qint64 supplier, const QString &fallback) {
    db::Table t(database);
    t.setTableName(stockColumns::suppliers);
    t.setIndexName(stockColumns::CODICE);
    t.open();
    return t.findKey(supplier) ? t.asString(stockColumns::NOME).trimmed() : fallback;
}

} // namespace

ReorderOrders::Outcome ReorderOrders::create(db::Database &database, CommonRoutines &routines,
                                             const QList<ReorderRow> &rows, QDate today) {
    Outcome outcome;
    QMap<qint64, QList<const ReorderRow *>> bySupplier;
    for (const ReorderRow &r : rows) {
        if (r.quantity <= 0)
            continue;
        if (r.supplierKey <= 0) {
            ++outcome.withoutSupplier;
            continue;
        }
        bySupplier[r.supplierKey] << &r;
    }
    if (bySupplier.isEmpty())
        return outcome;

    const QHash<QString, qint64> colours = colourNumbers(database);
    db::Table articles(database);
    articles.setTableName(articleColumns::articles);
    articles.setIndexName(articleColumns::key);
    articles.open();
    const DocumentKind kind = DocumentKind::supplierOrder();
    StockRoutines stock(database);
    DocumentSaver saver(database, stock, routines, kind);
    for (auto it = bySupplier.cbegin(); it != bySupplier.cend(); ++it) {
        QList<SheetRow> lines;
        for (const ReorderRow *r : it.value()) {
            if (!articles.findKey(r->article))
                continue;
            // The line as the order window writes it: the article's values
            // (LineSheet::takeArticle) completed by the size panel's.
            SheetRow line;
            QVariantMap &v = line.values;
            v.insert(sheet::CODICE, r->article);
            v.insert(sheet::DESCRIZION, articles.asString(articleColumns::description));
            v.insert(sheet::MARCHIO, articles.asString(articleColumns::brand));
            v.insert(sheet::TIPOTAGLIA, articles.value(articleColumns::sizeType));
            v.insert(sheet::IVA, articles.value(articleColumns::vat));
            v.insert(sheet::MISURA, articles.asString(articleColumns::typology));
            v.insert(sheet::PREZZO, articles.value(articleColumns::purchasePrice));
            v.insert(sheet::PRZVND, articles.value(articleColumns::salePrice));
            v.insert(sheet::COLORE, r->colour);
            v.insert(sheet::QUANTITA, double(r->quantity));
            v.insert(sheet::CTAGLIA, r->label);
            v.insert(sheet::TAGLIA, r->position);
            const QString code = articles.asString(articleColumns::code).trimmed();
            v.insert(sheet::BARCODE,
                     lineBarcode(code, colours.value(r->colour), r->position).value_or(code));
            line.amount = double(r->quantity) * articles.asFloat(articleColumns::purchasePrice);
            lines << line;
        }
        if (lines.isEmpty())
            continue;
        const SheetTotals totals = LineSheet::totalsOf(lines, 0);
        Created made;
        made.supplier = it.key();
        made.supplierName = supplierName(database, it.key(), it.value().first()->supplier);
        made.number = routines.NextYearNumber(kind.headerTable);
        made.pieces = totals.pieces;
        db::Table header(database);
        header.setTableName(kind.headerTable);
        header.setIndexName(doc::NUMREG);
        header.open();
        header.append();
        made.key = saver.save(header, 0, lines, today, [&](db::Table &h) {
            h.setInteger(doc::NUMDOC, made.number);
            h.setInteger(doc::NUMRAG, made.supplier);
            h.setFloat(doc::NUMPEZZI, double(totals.pieces));
            h.setString(doc::RAGSOC, made.supplierName);
            h.setFloat(doc::IMPONIBILE, totals.taxable);
            h.setFloat(doc::IMPOSTA, totals.tax);
            h.setFloat(doc::TOTALE, totals.total);
        });
        outcome.orders << made;
    }
    return outcome;
}

QString ReorderOrders::summary(const Outcome &outcome) {
    QStringList lines;
    if (outcome.orders.isEmpty())
        lines << QStringLiteral("Nessun ordine creato: nessuna quantità da ordinare.");
    else
        lines << QStringLiteral("Ordini creati:");
    for (const Created &c : outcome.orders)
        lines << QStringLiteral("N. %1 - %2 - %3 pezzi")
                     .arg(c.number)
                     .arg(c.supplierName)
                     .arg(c.pieces);
    if (outcome.withoutSupplier > 0)
        lines << QStringLiteral("%1 righe senza fornitore non sono state ordinate.")
                     .arg(outcome.withoutSupplier);
    return lines.join(u'\r');
}

} // namespace corvale
