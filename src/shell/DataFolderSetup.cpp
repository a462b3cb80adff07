#include "shell/DataFolderSetup.h"

#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"

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
        config.setFloat(QStringLiteral("EURO"), 1);
        // The ordinary regime in Italy, as the upgrade gives an older folder.
        if (config.hasField(QStringLiteral("REGFISC"))) {
            config.setString(QStringLiteral("REGFISC"), QStringLiteral("RF01"));
            config.setString(QStringLiteral("NAZIONE"), QStringLiteral("IT"));
        }
        config.post();
    }
    config.close();
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
        database.close();
    }
    // The folder lock of the engine is a file inside the folder; nothing else remains.
    if (!parent.rename(QFileInfo(staging).fileName(), info.fileName()))
        throw db::Error(QStringLiteral("Impossibile creare la cartella dei dati %1").arg(dataPath));
    return true;
}

} // namespace corvale
