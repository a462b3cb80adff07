#include "ShopFolder.h"

#include "db/Database.h"
#include "db/Error.h"
#include "platform/ProgramFolder.h"
#include "schema/DataFolderSchema.h"
#include "shell/DataFolderSetup.h"

#include <QDir>
#include <QFile>

namespace corvale {

void makeDataFolder(const ProgramFolder &folder, const ShopFill &fill) {
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

} // namespace corvale
