#include "common/ShopFixture.h"
#include "maintenance/ArchiveTestKit.h"

#include "maintenance/ArchiveOperations.h"
#include "maintenance/DataFolderRestore.h"
#include "maintenance/TableRepair.h"

#include <QRegularExpression>
#include <QTest>

#include <algorithm>

using namespace corvale;
using namespace archivetest;

class TestArchiveOperations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void salvaAsksForTheNameAndReports() {
        ShopFixture f;
        ArchiveOperations ops(*f.shop);
        const QString folder = f.shop->folder().archivePath();
        f.prompter.expectSaveFile(std::nullopt);
        ops.Salva();
        QVERIFY(QDir(folder).isEmpty());

        f.prompter.expectSaveFile(QDir(folder).filePath("copia"));
        f.prompter.expectInformation({});
        ops.Salva();
        QVERIFY(f.prompter.done());
        QVERIFY(QFileInfo(QDir(folder).filePath("COPIA.KVR")).isFile());
        QVERIFY(f.prompter.transcript().last().contains(
            QRegularExpression(QStringLiteral("Sono stati archiviati [0-9]+ files in:"))));
        QVERIFY(f.db().isOpen());

        // A file there that is no archive: said, and left alone.
        writeAll(QDir(folder).filePath("ROTTO.KVR"), "x");
        f.prompter.expectSaveFile(QDir(folder).filePath("ROTTO.KVR"));
        f.prompter.expectError(QStringLiteral("Error 1 reading Zip File"));
        ops.Salva();
        QVERIFY(f.prompter.done());
        QCOMPARE(readAll(QDir(folder).filePath("ROTTO.KVR")), QByteArray("x"));
    }

    void exitBackupAsksNothing() {
        ShopFixture f;
        ArchiveOperations ops(*f.shop);
        // The gauge follows the copy and is hidden again at its end.
        QList<int> gauge;
        ops.setGauge([&](int value) { gauge << value; });
        QVERIFY(ops.exitBackup());
        QVERIFY(gauge.size() > 2);
        QCOMPARE(gauge.first(), 0);
        QCOMPARE(gauge.at(gauge.size() - 2), 100);
        QCOMPARE(gauge.last(), -1);
        QVERIFY(std::is_sorted(gauge.begin(), gauge.end() - 1));
        QVERIFY(f.prompter.done());
        QVERIFY(QFileInfo(QDir(f.shop->folder().archivePath()).filePath("AR150326.KVR")).isFile());

        // An unwritable archive folder is said before the program ends.
        QVERIFY(QDir(f.shop->folder().archivePath()).removeRecursively());
        writeAll(f.shop->folder().archivePath(), "a file where the folder was");
        f.prompter.expectError({});
        gauge.clear();
        QVERIFY(!ops.exitBackup());
        QVERIFY(f.prompter.done());
        QCOMPARE(gauge.last(), -1);
    }

    void caricaAsksThenEndsTheProgram() {
        ShopFixture f;
        ArchiveOperations ops(*f.shop);
        QVERIFY(ops.exitBackup());
        const QString archive = QDir(f.shop->folder().archivePath()).filePath("AR150326.KVR");
        int ended = -1;
        ops.setEndProgram([&](int code) { ended = code; });

        f.prompter.expectOpenFile(archive);
        f.prompter.expectConfirm(ArchiveOperations::restoreQuestion(), false);
        ops.Carica();
        QCOMPARE(ended, -1);
        QVERIFY(f.db().isOpen());

        const QString empty = QDir(f.shop->folder().archivePath()).filePath("VUOTO.KVR");
        writeAll(empty, QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
        f.prompter.expectOpenFile(empty);
        f.prompter.expectConfirm(ArchiveOperations::restoreQuestion(), true);
        f.prompter.expectError(DataFolderRestore::noEntriesText());
        ops.Carica();
        QCOMPARE(ended, -1);
        QVERIFY(f.db().isOpen()); // the program goes on with its folder

        f.prompter.expectOpenFile(archive);
        f.prompter.expectConfirm(ArchiveOperations::restoreQuestion(), true);
        f.prompter.expectInformation({});
        ops.Carica();
        QVERIFY(f.prompter.done());
        QCOMPARE(ended, 0);
        QVERIFY(!f.db().isOpen()); // nothing is opened again before the end
        QVERIFY(f.prompter.transcript().last().contains(
            QRegularExpression(QStringLiteral("Estratti [0-9]+ Files!"))));
    }

    void verificaWithItsGauge() {
        ShopFixture f;
        ArchiveOperations ops(*f.shop);
        QList<int> gauge;
        ops.setGauge([&](int value) { gauge << value; });
        f.prompter.expectConfirm(TableRepair::confirmText(), false);
        ops.Verifica();
        QVERIFY(gauge.isEmpty());

        f.prompter.expectConfirm(TableRepair::confirmText(), true);
        f.prompter.expectInformation(TableRepair::successText());
        ops.Verifica();
        QVERIFY(f.prompter.done());
        QCOMPARE(gauge.first(), 0);
        QVERIFY(gauge.contains(3) && gauge.contains(87));
        QCOMPARE(gauge.at(gauge.size() - 2), 100);
        QCOMPARE(gauge.last(), -1);
        QVERIFY(f.db().isOpen());

        // A table the check needs is gone: the failure text, and the gauge hidden.
        f.db().close();
        QVERIFY(QFile::remove(QDir(f.shop->folder().dataPath()).filePath("ARCART_V.DBF")));
        f.shop->openDatabase();
        gauge.clear();
        f.prompter.expectConfirm(TableRepair::confirmText(), true);
        f.prompter.expectError(TableRepair::failureText());
        ops.Verifica();
        QVERIFY(f.prompter.done());
        QCOMPARE(gauge.last(), -1);
        QVERIFY(f.db().isOpen());
    }
};

QTEST_GUILESS_MAIN(TestArchiveOperations)
#include "tst_archiveoperations.moc"
