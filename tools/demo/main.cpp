// corvale-demo --home DIR [--today yyyy-mm-dd]
// Creates a program folder with a small, ready shop to try the program on.
// A folder that already has its data folder is left alone.
#include "DemoShop.h"

#include "db/Database.h"
#include "db/Error.h"
#include "platform/ProgramFolder.h"
#include "schema/DataFolderSchema.h"
#include "shell/DataFolderSetup.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

using namespace corvale;

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Crea un negozio dimostrativo."));
    parser.addHelpOption();
    const QCommandLineOption home(QStringLiteral("home"), QStringLiteral("Cartella del programma."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption today(QStringLiteral("today"), QStringLiteral("Data (aaaa-mm-gg)."),
                                   QStringLiteral("DATE"));
    parser.addOption(home);
    parser.addOption(today);
    parser.process(app);
    if (!parser.isSet(home)) {
        std::fprintf(stderr, "Indicare la cartella con --home DIR\n");
        return 1;
    }
    QDate date = QDate::currentDate();
    if (parser.isSet(today)) {
        date = QDate::fromString(parser.value(today), Qt::ISODate);
        if (!date.isValid()) {
            std::fprintf(stderr, "Data non valida: %s\n", qPrintable(parser.value(today)));
            return 1;
        }
    }
    const ProgramFolder folder(parser.value(home));
    QString error;
    if (!folder.prepare(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    if (QDir(folder.dataPath()).exists()) {
        std::printf("La cartella %s esiste già: nulla da fare.\n", qPrintable(folder.dataPath()));
        return 0;
    }
    try {
        // Built beside the data folder and renamed into place when complete.
        const QString staging = folder.dataPath() + QStringLiteral(".demo");
        QDir(staging).removeRecursively();
        QDir().mkpath(staging);
        {
            db::Database database;
            database.open(staging);
            DataFolderSetup::createTables(database, allTableLayouts());
            QFile photo(folder.file(QStringLiteral("clear.jpg")));
            photo.open(QIODevice::ReadOnly);
            DemoShop::fill(database, photo.readAll(), date);
        }
        if (!QDir().rename(staging, folder.dataPath()))
            throw db::Error(QStringLiteral("Impossibile creare %1").arg(folder.dataPath()));
    } catch (const db::Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf("Negozio dimostrativo creato in %s\n", qPrintable(folder.root()));
    return 0;
}
