#include "common/ShopFixture.h"
#include "common/Widgets.h"
#include "maintenance/ArchiveTestKit.h"

#include "maintenance/ArchiveOperations.h"
#include "maintenance/TFArchivio.h"
#include "maintenance/TableRepair.h"
#include "platform/NotYetAvailable.h"
#include "program/Program.h"
#include "shell/TFMain.h"

#include <QProgressBar>

using namespace corvale;
using namespace archivetest;
using testing::button;

namespace {

const QString closeQuestion = QStringLiteral("CHIUDERE IL PROGRAMMA ?");

QString todaysArchive(ShopFixture &f) {
    return QDir(f.shop->folder().archivePath()).filePath(QStringLiteral("AR150326.KVR"));
}

} // namespace

class TestArchiveWiring : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exitBackupFollowsThePreference() {
        for (const bool on : {false, true}) {
            ShopFixture f;
            // "Autosalvataggio Archivio" as the configuration window saved it.
            writeAll(f.shop->folder().iniPath(),
                     on ? "[GENERALI]\r\nAUTOSAVE=1\r\n" : "[GENERALI]\r\nAUTOSAVE=0\r\n");
            Program program(*f.shop);
            QCOMPARE(f.shop->preferences().autoSave, on);
            QVERIFY(program.ready());
            f.prompter.expectConfirm(closeQuestion, false);
            button(program.mainWindow(), "RxSpeedButton2")->click();
            QVERIFY(f.prompter.done());
            QCOMPARE(QFileInfo(todaysArchive(f)).isFile(), on);
            QVERIFY(f.db().isOpen());
        }
    }

    // A failed exit backup is said, and the program stays open: no question
    // whether to close, the window still shown.
    void exitBackupFailureKeepsTheProgramOpen() {
        ShopFixture f;
        writeAll(f.shop->folder().iniPath(), "[GENERALI]\r\nAUTOSAVE=1\r\n");
        Program program(*f.shop);
        program.mainWindow().show();
        QVERIFY(QDir(f.shop->folder().archivePath()).removeRecursively());
        writeAll(f.shop->folder().archivePath(), "a file where the folder was");
        f.prompter.expectError({});
        button(program.mainWindow(), "RxSpeedButton2")->click();
        QVERIFY(f.prompter.done());
        QVERIFY(program.mainWindow().isVisible());
        QVERIFY(f.db().isOpen());

        // Once the copy can be written, "Uscita" goes on to the question.
        QFile::remove(f.shop->folder().archivePath());
        f.prompter.expectConfirm(closeQuestion, true);
        button(program.mainWindow(), "RxSpeedButton2")->click();
        QVERIFY(f.prompter.done());
        QVERIFY(QFileInfo(todaysArchive(f)).isFile());
        QVERIFY(!program.mainWindow().isVisible());
    }

    void hubButtonsRunTheOperations() {
        ShopFixture f;
        Program program(*f.shop);
        TFArchivio &hub = program.archive();
        int ended = -1;
        program.archiveOperations().setEndProgram([&](int code) { ended = code; });

        f.prompter.expectSaveFile(QDir(f.shop->folder().archivePath()).filePath("copia"));
        f.prompter.expectInformation({});
        button(hub, "Salva")->click();
        QVERIFY(f.prompter.done());
        const QString archive = QDir(f.shop->folder().archivePath()).filePath("COPIA.KVR");
        QVERIFY(QFileInfo(archive).isFile());

        f.prompter.expectConfirm(TableRepair::confirmText(), true);
        f.prompter.expectInformation(TableRepair::successText());
        button(hub, "Verifica")->click();
        QVERIFY(f.prompter.done());
        QVERIFY(!testing::child<QProgressBar>(hub, "Gauge")->isVisible());

        f.prompter.expectOpenFile(archive);
        f.prompter.expectConfirm(ArchiveOperations::restoreQuestion(), true);
        f.prompter.expectInformation({});
        button(hub, "Carica")->click();
        QVERIFY(f.prompter.done());
        QCOMPARE(ended, 0);
        QVERIFY(!f.prompter.transcript().join(u'\n').contains(notYetAvailableText()));
    }
};

QTEST_MAIN(TestArchiveWiring)
#include "tst_archivewiring.moc"
