#include "ShopFolder.h"

#include "db/Database.h"
#include "db/Error.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/ScriptedPrompter.h"
#include "schema/DataFolderSchema.h"
#include "shell/DataFolderSetup.h"
#include "shell/Shop.h"

#include <QDir>
#include <QFile>

namespace corvale {

namespace {

// A shop's data is never replaced by a made-up one.
void requireNoDataFolder(const ProgramFolder &folder) {
    if (QDir(folder.dataPath()).exists())
        throw db::Error(QStringLiteral("La cartella %1 esiste già").arg(folder.dataPath()));
}

} // namespace

void makeDataFolder(const ProgramFolder &folder, const ShopFill &fill) {
    requireNoDataFolder(folder);
    QString error;
    if (!folder.prepare(&error))
        throw db::Error(error);
    const QString staging = folder.dataPath() + QStringLiteral(".demo");
    QDir(staging).removeRecursively();
    if (!QDir().mkpath(staging))
        throw db::Error(QStringLiteral("Impossibile creare %1").arg(staging));
    {
        db::Database database;
        database.open(staging);
        DataFolderSetup::createTables(database, allTableLayouts());
        QFile photo(folder.file(QStringLiteral("clear.jpg")));
        photo.open(QIODevice::ReadOnly);
        fill(database, photo.readAll());
        database.close();
    }
    if (!QDir().rename(staging, folder.dataPath()))
        throw db::Error(QStringLiteral("Impossibile creare %1").arg(folder.dataPath()));
}

void makeShopFolder(const ProgramFolder &folder, const ShopWork &fill) {
    requireNoDataFolder(folder);
    QString error;
    if (!folder.prepare(&error))
        throw db::Error(error);
    const ProgramFolder staging(folder.root() + QStringLiteral("/dati.demo"));
    QDir(staging.root()).removeRecursively();
    if (!staging.prepare(&error))
        throw db::Error(error);
    {
        Clock clock(QDate::currentDate());
        // Nothing here may ask anything: a question means the shop is not
        // what the documents expect, and the making stops with its text.
        ScriptedPrompter prompter;
        prompter.setFailureHandler([](const QString &text) { throw db::Error(text); });
        Shop shop(staging, clock, prompter);
        shop.setTableLayouts(allTableLayouts());
        shop.openDatabase();
        fill(shop, clock);
        shop.database().close();
    }
    if (!QDir().rename(staging.dataPath(), folder.dataPath()))
        throw db::Error(QStringLiteral("Impossibile creare %1").arg(folder.dataPath()));
    QDir(staging.root()).removeRecursively();
}

} // namespace corvale
