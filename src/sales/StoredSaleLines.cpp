#include "sales/StoredSaleLines.h"

#include "db/Table.h"
#include "documents/DocumentKind.h"
#include "documents/SheetColumns.h"

namespace corvale {

QList<SheetRow> storedSaleLines(db::Database &database, qint64 key) {
    const DocumentKind kind = DocumentKind::counterSale();
    QList<SheetRow> out;
    db::Table lines(database);
    lines.setTableName(kind.lineTable);
    lines.setIndexName(kind.lineKey);
    lines.open();
    lines.setRange(key, key);
    for (lines.first(); !lines.eof(); lines.next()) {
        QVariantMap values;
        for (const QString &c : {sheet::BARCODE, sheet::DESCRIZION, sheet::COLORE, sheet::CTAGLIA,
                                 sheet::QUANTITA, sheet::PREZZO, sheet::TAGLIA, sheet::TIPOTAGLIA,
                                 sheet::IVA, sheet::MARCHIO, sheet::SCONTO})
            values.insert(c, lines.value(c));
        values.insert(sheet::CODICE, lines.value(doc::NUMART));
        if (values.value(sheet::DESCRIZION).toString().trimmed().isEmpty())
            continue;
        const double quantity = values.value(sheet::QUANTITA).toDouble();
        QVariant amount;
        // The sale sheet's own arithmetic, so that the totals are the stored ones.
        if (quantity != 0)
            amount = (1 - values.value(sheet::SCONTO).toDouble() * 0.01) *
                     values.value(sheet::PREZZO).toDouble() * quantity;
        out << SheetRow{values, amount};
    }
    return out;
}

} // namespace corvale
