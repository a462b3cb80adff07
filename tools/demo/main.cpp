// corvale-demo --home DIR [--today yyyy-mm-dd]   a small shop to try the program on
// corvale-demo --large --home DIR                 the large shop of the benchmarks
// A folder that already has its data folder is left alone.
#include "DemoShop.h"
#include "LargeShop.h"
#include "ShopFolder.h"

#include "db/Error.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "shell/Shop.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>

using namespace corvale;

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Crea un negozio dimostrativo."));
    parser.addHelpOption();
    const QCommandLineOption home(QStringLiteral("home"), QStringLiteral("Cartella del programma."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption today(QStringLiteral("today"), QStringLiteral("Data (aaaa-mm-gg)."),
                                   QStringLiteral("DATE"));
    const QCommandLineOption large(
        QStringLiteral("large"),
        QStringLiteral("Il grande negozio delle misure di velocità (dieci anni di documenti)."));
    parser.addOption(home);
    parser.addOption(today);
    parser.addOption(large);
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
    if (QDir(folder.dataPath()).exists()) {
        std::printf("La cartella %s esiste già: nulla da fare.\n", qPrintable(folder.dataPath()));
        return 0;
    }
    QElapsedTimer timer;
    timer.start();
    try {
        if (parser.isSet(large))
            makeDataFolder(folder, &LargeShop::fill);
        else
            makeShopFolder(folder,
                           [&](Shop &shop, Clock &clock) { DemoShop::fill(shop, clock, date); });
    } catch (const db::Error &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf("Negozio dimostrativo creato in %s (%.1f s)\n", qPrintable(folder.root()),
                double(timer.elapsed()) / 1000);
    return 0;
}
