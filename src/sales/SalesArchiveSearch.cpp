#include "sales/SalesArchiveSearch.h"

#include "db/Table.h"
#include "documents/DocumentKind.h"
#include "documents/SheetColumns.h"
#include "shell/CommonRoutines.h"

#include <QSet>

#include <algorithm>

namespace corvale {

namespace {

// The keys of the documents holding a line of `code`, sales or invoices.
QSet<qint64> documentsWithCode(db::Database &database, const DocumentKind &kind,
                               const QString &code) {
    QSet<qint64> keys;
    db::Table lines(database);
    lines.setTableName(kind.lineTable);
    lines.open();
    lines.setFilter(sheet::BARCODE + QStringLiteral("='") + CommonRoutines::QuoteSql(code) +
                    QStringLiteral("'"));
    lines.setFiltered(true);
    for (lines.first(); !lines.eof(); lines.next()) {
        if (!lines.isNull(kind.lineKey))
            keys.insert(lines.asInteger(kind.lineKey));
    }
    return keys;
}

} // namespace

bool markSalesWithCode(db::Database &database, const QString &code) {
    const DocumentKind kind = DocumentKind::counterSale();
    const QSet<qint64> keys = documentsWithCode(database, kind, code);
    if (keys.isEmpty())
        return false;
    // Lines of invoices alone: no sale to show, and the marks stay as they were.
    {
        db::Table byKey(database);
        byKey.setTableName(kind.headerTable);
        byKey.setIndexName(doc::NUMREG);
        byKey.open();
        if (std::none_of(keys.begin(), keys.end(), [&](qint64 key) { return byKey.findKey(key); }))
            return false;
    }
    db::Table sales(database);
    sales.setTableName(kind.headerTable);
    sales.open();
    for (sales.first(); !sales.eof(); sales.next()) {
        const bool found =
            !sales.isNull(doc::NUMREG) && keys.contains(sales.asInteger(doc::NUMREG));
        // Only changed marks are written (an empty mark reads as not found): a
        // search over years of sales touches the few sales it finds and those
        // the previous search found.
        if (sales.asBool(doc::FINDV) == found)
            continue;
        sales.edit();
        sales.setBool(doc::FINDV, found);
        sales.post();
    }
    return true;
}

} // namespace corvale
