#include "shell/DataFolderSetup.h"

#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "shell/SchemaUpgrade.h"
#include "shell/ShopFiscalColumns.h"

#include <QDir>
#include <QFileInfo>

namespace corvale {

void DataFolderSetup::createTables(db::Database &database, const TableLayouts &layouts) {
    for (const TableLayout &layout : layouts) {
        QList<db::TagDefinition> tags;
        for (const TagLayout &tag : layout.tags)
            tags << db::TagDefinition{tag.name, tag.key()};
        database.createTableWithTags(layout.fileName(), layout.fields, tags);
    }
}

void DataFolderSetup::addShopRecord(db::Database &database) {
    if (!database.tableExists(QStringLiteral("CONFIG.DBF")))
        return;
    db::Table config(database);
    config.setTableName(QStringLiteral("CONFIG.DBF"));
    config.open();
    if (config.isEmpty()) {
        config.append();
        config.setFloat(shopFiscal::pointsPerEuro, 1);
        // The ordinary regime in Italy, as the upgrade gives an older folder.
        if (config.hasField(shopFiscal::regime)) {
            config.setString(shopFiscal::regime, QStringLiteral("RF01"));
            config.setString(shopFiscal::country, QStringLiteral("IT"));
        }
        config.post();
    }
    config.close();
}

bool DataFolderSetup::isWorkTable(const TableLayout &layout) {
    static const QStringList work = {QStringLiteral("ELEMENTI"), QStringLiteral("LBCODE"),
                                     QStringLiteral("PRIMANOT"), QStringLiteral("RICEVUTE"),
                                     QStringLiteral("CARICO_I"), QStringLiteral("TABLE1"),
                                     QStringLiteral("TABLE2"), QStringLiteral("TABLE3"),
                                     QStringLiteral("TABLE4"), QStringLiteral("TABLE5"),
                                     // Added by later releases: an older folder has none.
                                     QStringLiteral("CHIUSURE")};
    return work.contains(layout.name, Qt::CaseInsensitive);
}

bool DataFolderSetup::notYetAdded(const QString &table, const QStringList &dataFiles) {
    for (const QStringList &added : SchemaUpgrade::addedTableGroups()) {
        if (!added.contains(table, Qt::CaseInsensitive))
            continue;
        for (const QString &file : dataFiles)
            for (const QString &name : added)
                if (file.compare(name + QStringLiteral(".DBF"), Qt::CaseInsensitive) == 0)
                    return false;
        return true;
    }
    return false;
}

QStringList DataFolderSetup::createMissingWorkTables(db::Database &database,
                                                     const TableLayouts &layouts) {
    TableLayouts missing;
    for (const TableLayout &layout : layouts)
        if (isWorkTable(layout) && !database.tableExists(layout.fileName()))
            missing << layout;
    createTables(database, missing);
    QStringList names;
    for (const TableLayout &layout : missing)
        names << layout.fileName();
    return names;
}

QStringList DataFolderSetup::missingRecordTables(const db::Database &database,
                                                 const TableLayouts &layouts) {
    QStringList present;
    for (const QString &name : SchemaUpgrade::addedTables())
        if (database.tableExists(name + QStringLiteral(".DBF")))
            present << name + QStringLiteral(".DBF");
    QStringList names;
    for (const TableLayout &layout : layouts)
        if (!isWorkTable(layout) && !database.tableExists(layout.fileName()) &&
            !notYetAdded(layout.name, present))
            names << layout.fileName();
    return names;
}

QString DataFolderSetup::missingTablesText(const QString &dataPath, const QStringList &tables) {
    return QStringLiteral("Nella cartella dei dati %1 mancano le tabelle:\r%2\r\rI loro dati "
                          "non sono disponibili: ripristinare una copia (ARCHIVIO, Carica).")
        .arg(QDir::toNativeSeparators(dataPath), tables.join(QStringLiteral(", ")));
}

bool DataFolderSetup::createIfMissing(const QString &dataPath, const TableLayouts &layouts) {
    const QFileInfo info(dataPath);
    if (info.exists())
        return false;
    QDir parent = info.absoluteDir();
    const QString staging = parent.filePath(info.fileName() + QStringLiteral(".new"));
    QDir(staging).removeRecursively(); // left by an earlier start that did not finish
    if (!parent.mkpath(staging))
        throw db::Error(QStringLiteral("Impossibile creare la cartella dei dati %1").arg(staging));
    {
        db::Database database;
        database.open(staging);
        createTables(database, layouts);
        addShopRecord(database);
        if (database.tableExists(QStringLiteral("STAGIONI.DBF")))
            SchemaUpgrade::seedSeasons(database);
        database.close();
    }
    // The folder lock of the engine is a file inside the folder; nothing else remains.
    if (!parent.rename(QFileInfo(staging).fileName(), info.fileName()))
        throw db::Error(QStringLiteral("Impossibile creare la cartella dei dati %1").arg(dataPath));
    return true;
}

} // namespace corvale
