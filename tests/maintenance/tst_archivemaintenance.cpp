#include "common/ShopFixture.h"
#include "maintenance/ArchiveTestKit.h"

#include "maintenance/ArchiveContents.h"
#include "maintenance/ArchiveError.h"
#include "maintenance/DataFolderBackup.h"
#include "maintenance/DataFolderRestore.h"
#include "maintenance/TZipMaster.h"
#include "shell/CommonRoutines.h"

#include <QStandardPaths>
#include <QTest>

using namespace corvale;
using namespace archivetest;

namespace {

// A shop with a few records and a settings file of its own.
struct FilledShop : ShopFixture {
    FilledShop() {
        add(QStringLiteral("ARTICOLI"),
            {{"NUMREG", 1}, {"DESCRIZION", "SCARPA DONNA"}, {"BARCODE", "800001"}});
        add(QStringLiteral("VENDITE"), {{"NUMREG", 7}, {"NUMDOC", 1}});
        add(QStringLiteral("ARCART_V"), {{"NUMVEN", 7}, {"NUMART", 1}, {"TAGLIA", 3}});
        writeAll(shop->folder().iniPath(), "[GENERALI]\r\nAUTOSAVE=1\r\n");
    }
    QString data() const { return shop->folder().dataPath(); }
    QString archive(const QString &name) const {
        return QDir(shop->folder().archivePath()).filePath(name);
    }
};

QString failureOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const ArchiveError &e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestArchiveMaintenance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void archiveNames() {
        QCOMPARE(ArchiveContents::proposedName(QDate(2026, 3, 5)), QStringLiteral("AR050326.KVR"));
        QCOMPARE(ArchiveContents::normalisedName(QStringLiteral("/tmp/dir/copia")),
                 QStringLiteral("/tmp/dir/COPIA.KVR"));
        QCOMPARE(ArchiveContents::normalisedName(QStringLiteral("/tmp/a.kvr.old")),
                 QStringLiteral("/tmp/A.KVR.OLD"));
        QCOMPARE(ArchiveContents::normalisedName(QStringLiteral("x.zip")),
                 QStringLiteral("X.ZIP.KVR"));
        QCOMPARE(ArchiveContents::dataFiles().size(), 72);
        QVERIFY(ArchiveContents::isKnownEntry(QStringLiteral("DATI.INI")));
        QVERIFY(!ArchiveContents::isKnownEntry(QStringLiteral("dati/ARTICOLI.DBF")));
    }

    void directoryRead() {
        QTemporaryDir dir;
        TZipMaster zip;
        zip.setZipFilename(dir.filePath(QStringLiteral("none.kvr")));
        QCOMPARE(zip.EntryCount(), 0);

        const QString empty = dir.filePath(QStringLiteral("empty.kvr"));
        writeAll(empty, {});
        QCOMPARE(failureOf([&] { zip.setZipFilename(empty); }),
                 QStringLiteral("Error 1 reading Zip File"));

        // Only the end-of-directory record.
        const QString bare = dir.filePath(QStringLiteral("bare.kvr"));
        writeAll(bare, QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
        zip.setZipFilename(bare);
        QCOMPARE(zip.EntryCount(), 0);

        // A header whose data runs past the end of the file.
        const QString cut = dir.filePath(QStringLiteral("cut.kvr"));
        QVERIFY(makeArchive(cut, {{"ARTICOLI.DBF", QByteArray(5000, 'x')}}));
        writeAll(cut, readAll(cut).left(200));
        QCOMPARE(failureOf([&] { zip.setZipFilename(cut); }),
                 QStringLiteral("Error 3 reading Zip file"));
        QCOMPARE(zip.EntryCount(), 1); // what was read stays
    }

    void saveWritesEveryFileInOrder() {
        FilledShop f;
        DataFolderBackup backup(*f.shop);
        QCOMPARE(backup.todaysArchive(), f.archive(QStringLiteral("AR150326.KVR")));
        const DataFolderBackup::Report report = backup.salva(backup.todaysArchive());
        QVERIFY2(report.complete(), qPrintable(report.unreadable.join(u',')));
        // Tables without tags have no index file, and none is missed.
        QStringList expected;
        for (const QString &name : ArchiveContents::dataFiles())
            if (QFileInfo::exists(QDir(f.data()).filePath(name)))
                expected << name;
        expected << QStringLiteral("DATI.INI");
        QVERIFY(expected.size() > 60);
        QCOMPARE(report.handled, expected.size());
        QVERIFY(f.db().isOpen());

        TZipMaster zip;
        zip.setZipFilename(report.archive);
        QStringList names;
        for (const auto &e : zip.entries()) {
            names << QString::fromLatin1(e.name);
            QCOMPARE(e.method, quint16(8));
        }
        QCOMPARE(names, expected);
        QCOMPARE(DataFolderBackup::successText(report),
                 QStringLiteral("Salvataggio dati eseguito con successo!\r\rSono stati "
                                "archiviati %1 files in:\r\r%2")
                     .arg(expected.size())
                     .arg(QDir::toNativeSeparators(report.archive)));

        const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
        if (unzip.isEmpty())
            QSKIP("unzip is not installed");
        QCOMPARE(run(unzip, {QStringLiteral("-tq"), report.archive}), 0);
    }

    void secondSaveReplacesTheArchive() {
        FilledShop f;
        DataFolderBackup backup(*f.shop);
        const QString name = backup.todaysArchive();
        // The archive is written anew: nothing of an older one is carried over.
        QVERIFY(makeArchive(name, {{"VECCHIO.TXT", "x"}, {"ARTICOLI.DBF", "old"}}));
        backup.salva(name);
        f.add(QStringLiteral("ARTICOLI"), {{"NUMREG", 2}, {"DESCRIZION", "STIVALE"}});
        f.db().close();
        const QByteArray latest = readAll(QDir(f.data()).filePath(QStringLiteral("ARTICOLI.DBF")));
        f.shop->openDatabase();
        backup.salva(name);

        TZipMaster zip;
        zip.setZipFilename(name);
        QStringList names;
        for (const auto &e : zip.entries())
            names << QString::fromLatin1(e.name);
        QCOMPARE(names.removeDuplicates(), 0);
        QVERIFY(names.contains(QStringLiteral("ARTICOLI.DBF")));
        QVERIFY(!names.contains(QStringLiteral("VECCHIO.TXT")));
        QCOMPARE(names.first(), QStringLiteral("ARCART_A.DBF"));
        QCOMPARE(names.last(), QStringLiteral("DATI.INI"));

        QTemporaryDir out;
        zip.ExtractFiles(out.path());
        QCOMPARE(readAll(out.filePath(QStringLiteral("ARTICOLI.DBF"))), latest);
        // No half-written copies left beside the archive.
        QCOMPARE(QDir(f.shop->folder().archivePath()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QFileInfo(name).fileName()});
    }

    void unreadableFileIsNamed() {
        FilledShop f;
        f.db().close();
        QVERIFY(QFile::remove(QDir(f.data()).filePath(QStringLiteral("LBCODE.DBF"))));
        f.shop->openDatabase();
        DataFolderBackup backup(*f.shop);
        const auto report = backup.salva(backup.todaysArchive());
        QVERIFY(!report.complete());
        QCOMPARE(report.unreadable, QStringList{QStringLiteral("LBCODE.DBF")});
        TZipMaster zip;
        zip.setZipFilename(report.archive);
        QCOMPARE(zip.EntryCount(), report.handled);
        QVERIFY(DataFolderBackup::incompleteText(report).contains(QStringLiteral("LBCODE.DBF")));
    }

    void saveOverSomethingElseStops() {
        FilledShop f;
        const QString name = f.archive(QStringLiteral("NOTE.KVR"));
        writeAll(name, "not an archive at all");
        DataFolderBackup backup(*f.shop);
        QCOMPARE(failureOf([&] { backup.salva(name); }),
                 QStringLiteral("Error 1 reading Zip File"));
        QCOMPARE(readAll(name), QByteArray("not an archive at all"));
        QVERIFY(f.db().isOpen());
    }

    void saveWipeRestoreRoundTrip() {
        FilledShop f;
        DataFolderBackup backup(*f.shop);
        const auto saved = backup.salva(backup.todaysArchive());
        f.db().close();
        const auto before = snapshot(f.data());
        const QByteArray ini = readAll(f.shop->folder().iniPath());

        // Damage: records added, a table gone, an index torn, settings changed.
        f.shop->openDatabase();
        f.add(QStringLiteral("VENDITE"), {{"NUMREG", 8}});
        f.db().close();
        QFile::remove(QDir(f.data()).filePath(QStringLiteral("CLIENTI.DBF")));
        writeAll(QDir(f.data()).filePath(QStringLiteral("ARTICOLI.MDX")), "torn");
        writeAll(QDir(f.data()).filePath(QStringLiteral("EXTRA.TXT")), "mine");
        const QByteArray damagedVendite = readAll(QDir(f.data()).filePath("VENDITE.DBF"));
        writeAll(f.shop->folder().iniPath(), "[GENERALI]\r\n");

        f.shop->openDatabase();
        DataFolderRestore restore(*f.shop);
        const auto report = restore.ripristina(saved.archive);
        QCOMPARE(report.handled, saved.handled);
        QVERIFY(!f.db().isOpen());

        auto after = snapshot(f.data());
        QCOMPARE(after.take(QStringLiteral("EXTRA.TXT")), QByteArray("mine"));
        QCOMPARE(after.keys(), before.keys());
        for (auto it = before.begin(); it != before.end(); ++it)
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
        QCOMPARE(readAll(f.shop->folder().iniPath()), ini);

        // The replaced folder and settings are kept, and the message says where.
        QVERIFY(report.keptFolder.startsWith(f.shop->folder().archivePath()));
        QCOMPARE(readAll(QDir(report.keptFolder).filePath("VENDITE.DBF")), damagedVendite);
        QCOMPARE(readAll(report.keptSettings), QByteArray("[GENERALI]\r\n"));
        const QString text = DataFolderRestore::successText(report);
        QVERIFY(text.startsWith(QStringLiteral("Recupero Dati Effettuato con Successo!\rEstratti "
                                               "%1 Files!\rE' necessario riavviare il "
                                               "programma")
                                    .arg(saved.handled)));
        QVERIFY(text.contains(QDir::toNativeSeparators(report.keptFolder)));
        QCOMPARE(QDir(f.shop->folder().root())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QDir(f.shop->folder().root())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)); // nothing left over

        // The restored folder opens and reads.
        f.shop->openDatabase();
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMREG")),
                 QStringList{QStringLiteral("7")});
    }

    void badArchivesChangeNothing_data() {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<QString>("kind");
        QTest::newRow("parent") << QByteArray("../ARTICOLI.DBF") << "names";
        QTest::newRow("absolute") << QByteArray("/tmp/ARTICOLI.DBF") << "names";
        QTest::newRow("drive") << QByteArray("C:\\ARTICOLI.DBF") << "names";
        QTest::newRow("folder") << QByteArray("dati/ARTICOLI.DBF") << "names";
        QTest::newRow("unknown") << QByteArray("AUTOEXEC.BAT") << "names";
        QTest::newRow("truncated") << QByteArray() << "truncated";
        QTest::newRow("crc") << QByteArray() << "crc";
        QTest::newRow("empty") << QByteArray() << "empty";
    }
    void badArchivesChangeNothing() {
        QFETCH(QByteArray, entry);
        QFETCH(QString, kind);
        FilledShop f;
        DataFolderBackup backup(*f.shop);
        const QString good = backup.salva(backup.todaysArchive()).archive;
        const QString bad = f.archive(QStringLiteral("BAD.KVR"));
        if (kind == QLatin1String("names")) {
            QVERIFY(makeArchive(bad, {{"ARTICOLI.DBF", "x"}, {entry, "evil"}}));
        } else if (kind == QLatin1String("truncated")) {
            writeAll(bad, readAll(good).chopped(3000));
        } else if (kind == QLatin1String("crc")) {
            // Stored, not compressed, so the flipped byte is plain to find.
            QVERIFY(makeArchive(bad, {{"ARTICOLI.DBF", QByteArray(200, 'a')}}));
            QByteArray bytes = readAll(bad);
            const qsizetype at = bytes.indexOf("aaaa");
            QVERIFY(at > 0);
            bytes[at] = 'b';
            writeAll(bad, bytes);
        } else {
            writeAll(bad, QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
        }
        f.db().close();
        const auto before = snapshot(f.data());
        const QByteArray ini = readAll(f.shop->folder().iniPath());
        const QStringList rootBefore =
            QDir(f.shop->folder().root())
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        const QStringList keptBefore =
            QDir(f.shop->folder().archivePath()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);

        DataFolderRestore restore(*f.shop);
        const QString message = failureOf([&] { restore.ripristina(bad); });
        QVERIFY(!message.isEmpty());
        if (kind == QLatin1String("empty"))
            QCOMPARE(message, DataFolderRestore::noEntriesText());
        if (kind == QLatin1String("names"))
            QVERIFY2(message.contains(QString::fromLatin1(entry)), qPrintable(message));
        QCOMPARE(snapshot(f.data()), before);
        QCOMPARE(readAll(f.shop->folder().iniPath()), ini);
        QCOMPARE(QDir(f.shop->folder().root())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 rootBefore);
        QCOMPARE(QDir(f.shop->folder().archivePath()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 keptBefore);
        QVERIFY(!QFileInfo::exists(QDir(f.shop->folder().root()).filePath("ARTICOLI.DBF")));
    }

    void restoreOntoMissingDataFolder() {
        FilledShop f;
        DataFolderBackup backup(*f.shop);
        const QString archive = backup.salva(backup.todaysArchive()).archive;
        f.db().close();
        auto before = snapshot(f.data());
        QVERIFY(QDir(f.data()).removeRecursively());
        const auto report = DataFolderRestore(*f.shop).ripristina(archive);
        QVERIFY(report.keptFolder.isEmpty());
        const auto after = snapshot(f.data());
        QCOMPARE(after.size(), report.handled - 1);
        for (auto it = after.begin(); it != after.end(); ++it)
            QVERIFY2(before.value(it.key()) == it.value(), qPrintable(it.key()));
    }
};

QTEST_GUILESS_MAIN(TestArchiveMaintenance)
#include "tst_archivemaintenance.moc"
