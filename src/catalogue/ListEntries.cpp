#include "catalogue/ListEntries.h"

#include "db/Database.h"
#include "db/Table.h"
#include "platform/Formats.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

namespace corvale {

qint64 ListEntries::add(Shop &shop, const List &list, const QString &name) {
    qint64 number = 0;
    if (!list.counter.isEmpty())
        number = shop.routines().NextCounter(list.counter, true);
    db::Table t(shop.database());
    t.setTableName(list.table + QStringLiteral(".DBF"));
    t.open();
    t.append();
    if (!list.counter.isEmpty())
        t.setInteger(articleColumns::key, number);
    t.setString(list.nameField, name.toUpper());
    t.post();
    t.close();
    return number;
}

bool ListEntries::colourInStock(db::Database &database, const QString &colour) {
    db::Table stock(database);
    stock.setTableName(QStringLiteral("ARCARTTG.DBF"));
    stock.open();
    int width = 20;
    for (const db::FieldDef &f : stock.fieldDefs()) {
        if (f.name.compare(articleColumns::colour, Qt::CaseInsensitive) == 0)
            width = f.length;
    }
    // A colour name longer than the matrix column is stored cut: compare it that way, or
    // a long name in stock would slip through.
    QString wanted = colour.left(width);
    while (wanted.endsWith(QLatin1Char(' ')))
        wanted.chop(1);
    for (stock.first(); !stock.eof(); stock.next()) {
        if (stock.asString(articleColumns::colour) == wanted)
            return true;
    }
    return false;
}

void ListEntries::replaceBarcodes(db::Database &database, qint64 article,
                                  const QStringList &codes) {
    db::Table barcodes(database);
    barcodes.setTableName(QStringLiteral("BARCODE.DBF"));
    barcodes.setIndexName(articleColumns::furtherCodeArticle);
    barcodes.open();
    barcodes.setRange(article, article);
    for (barcodes.first(); !barcodes.eof(); barcodes.first())
        barcodes.remove();
    barcodes.cancelRange();
    for (const QString &code : codes) {
        const QString trimmed = Formats::trimLeading(code);
        if (trimmed.isEmpty())
            continue;
        barcodes.append();
        barcodes.setInteger(articleColumns::furtherCodeArticle, article);
        barcodes.setString(articleColumns::furtherCode, trimmed);
        barcodes.post();
    }
    barcodes.close();
}

QStringList ListEntries::seasonNames(db::Database &database) {
    db::Table t(database);
    t.setTableName(QStringLiteral("STAGIONI.DBF"));
    t.setIndexName(articleColumns::listName);
    t.open();
    QStringList out;
    for (t.first(); !t.eof(); t.next()) {
        const QString name = t.asString(articleColumns::listName).trimmed();
        if (!name.isEmpty() && !out.contains(name, Qt::CaseInsensitive))
            out << name;
    }
    return out;
}

} // namespace corvale
