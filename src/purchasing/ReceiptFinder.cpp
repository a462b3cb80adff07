#include "purchasing/ReceiptFinder.h"

#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "shell/CommonRoutines.h"

#include <QSet>

namespace corvale {

bool markReceiptsWithCode(db::Database &database, const QString &code) {
    QSet<qint64> keys;
    {
        db::Table lines(database);
        lines.setTableName(QStringLiteral("ARCART_A"));
        lines.open();
        lines.setFilter(QStringLiteral("BARCODE='") + CommonRoutines::QuoteSql(code) +
                        QStringLiteral("'"));
        lines.setFiltered(true);
        for (lines.first(); !lines.eof(); lines.next()) {
            if (!lines.isNull(doc::NUMCAR))
                keys.insert(lines.asInteger(doc::NUMCAR));
        }
    }
    if (keys.isEmpty())
        return false;
    db::Table receipts(database);
    receipts.setTableName(QStringLiteral("CARICHI"));
    receipts.open();
    for (receipts.first(); !receipts.eof(); receipts.next()) {
        const bool found =
            !receipts.isNull(doc::NUMREG) && keys.contains(receipts.asInteger(doc::NUMREG));
        if (receipts.asBool(doc::FINDV) == found && !receipts.isNull(doc::FINDV))
            continue;
        receipts.edit();
        receipts.setBool(doc::FINDV, found);
        receipts.post();
    }
    return true;
}

} // namespace corvale
