#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/QtPrompter.h"
#include "printing/CanvasFonts.h"
#include "printing/PrintService.h"
#include "program/Program.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"
#include "shell/TFMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>
#include <QMessageBox>

using namespace corvale;

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CORVALE - Abbigliamento & Calzature"));
    QApplication::setApplicationVersion(QStringLiteral(CORVALE_VERSION_TEXT));

    // Dates are typed and shown "dd/mm/yyyy", numbers with the decimal comma.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    // Windows and printouts name "Arial" and "MS Sans Serif".
    CanvasFonts::installSubstitutions();

    QCommandLineParser parser;
    parser.setApplicationDescription(QApplication::applicationName());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption homeOption(
        QStringLiteral("home"),
        QStringLiteral("Cartella del programma (dati, archivio, Dati.ini)."),
        QStringLiteral("DIR"));
    const QCommandLineOption todayOption(QStringLiteral("today"),
                                         QStringLiteral("Data del giorno fissata (aaaa-mm-gg)."),
                                         QStringLiteral("DATE"));
    parser.addOption(homeOption);
    parser.addOption(todayOption);
    parser.process(app);

    Clock clock;
    if (parser.isSet(todayOption)) {
        const QDate today = QDate::fromString(parser.value(todayOption), Qt::ISODate);
        if (!today.isValid()) {
            QMessageBox::critical(nullptr, QStringLiteral("Errore"),
                                  QStringLiteral("Data non valida: %1 (usare aaaa-mm-gg)")
                                      .arg(parser.value(todayOption)));
            return 1;
        }
        clock.setFixedDate(today);
    }
    const ProgramFolder folder(parser.isSet(homeOption) ? parser.value(homeOption)
                                                        : QApplication::applicationDirPath());
    QString error;
    if (!folder.prepare(&error)) {
        QMessageBox::critical(nullptr, QStringLiteral("Errore"), error);
        return 1;
    }

    QtPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    // The main window opens the database and runs the first upgrade list;
    // the data module runs the second. Tables open only after both.
    Program program(shop);
    if (!program.ready())
        return 1; // the reason was shown (another copy running, unreadable folder)
    TFMain &w = program.mainWindow();
    shop.setPrintService(std::make_unique<PreviewPrintService>(&w));
    w.showMaximized();
    return app.exec();
}
