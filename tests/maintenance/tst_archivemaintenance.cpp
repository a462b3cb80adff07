#include "common/ShopFixture.h"
#include "maintenance/ArchiveTestKit.h"

#include "cashbook/PrimaNota.h"
#include "maintenance/ArchiveContents.h"
#include "maintenance/ArchiveError.h"
#include "maintenance/DataFolderBackup.h"
#include "maintenance/DataFolderRestore.h"
#include "maintenance/TZipMaster.h"
#include "shell/CommonRoutines.h"
#include "shell/DataFolderSetup.h"
#include "shell/SchemaUpgrade.h"
#include "stock/ArticleHistory.h"

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
    }

    void entriesARestoreTakes_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("known");
        // Every file the archives of earlier releases held is still taken.
        for (const char *historic :
             {"ARCART_A.DBF", "ARCART_A.MDX", "ARCART_V.DBF", "ARCART_V.MDX", "ARCARTTG.DBF",
              "ARCARTTG.MDX", "ARTICOLI.DBF", "ARTICOLI.MDX", "ARTICOLI.DBT", "CARICHI.DBF",
              "CARICHI.MDX",  "CATEGOR.DBF",  "CATEGOR.MDX",  "CLIENTI.DBF",  "CLIENTI.MDX",
              "COLORI.DBF",   "COLORI.MDX",   "CONFIG.DBF",   "CONFIG.DBT",   "COUNTERS.DBF",
              "ELEMENTI.DBF", "FATTURE.DBF",  "FATTURE.MDX",  "FORNITOR.DBF", "FORNITOR.MDX",
              "MARCHI.DBF",   "MARCHI.MDX",   "MATERIAL.DBF", "MATERIAL.MDX", "MISURE.DBF",
              "MISURE.MDX",   "NOTA.DBF",     "NOTA.MDX",     "NOTAM.DBF",    "NOTAM.MDX",
              "TAGLIE.DBF",   "TAGLIE.MDX",   "TIPOLOGI.DBF", "TIPOLOGI.MDX", "VENDITE.DBF",
              "VENDITE.MDX",  "FONDI.DBF",    "FONDI.MDX",    "ARCART_R.DBF", "ARCART_R.MDX",
              "RESI.DBF",     "RESI.MDX",     "BANK0.DBF",    "BANK0.MDX",    "BANK1.DBF",
              "BANK1.MDX",    "BANK2.DBF",    "BANK2.MDX",    "BANK3.DBF",    "BANK3.MDX",
              "ACCONTI.DBF",  "ACCONTI.MDX",  "PRIMANOT.DBF", "PRIMANOT.MDX", "TABLE1.DBF",
              "TABLE1.MDX",   "TABLE2.DBF",   "TABLE2.MDX",   "TABLE3.DBF",   "TABLE3.MDX",
              "ARCART_O.DBF", "ARCART_O.MDX", "ORDINI.DBF",   "ORDINI.MDX",   "BARCODE.DBF",
              "BARCODE.MDX",  "LBCODE.DBF",   "DATI.INI"})
            QTest::newRow(historic) << QString::fromLatin1(historic) << true;
        // The tables the fixed list of those releases forgot.
        for (const char *added : {"RICEVUTE.DBF", "RICEVUTE.MDX", "CARICO_I.DBF", "TABLE4.DBF",
                                  "TABLE5.DBF", "TABLE5.MDX"})
            QTest::newRow(added) << QString::fromLatin1(added) << true;
        QTest::newRow("e-invoice") << "FE/IT01234567890_00001.xml" << true;
        QTest::newRow("signed e-invoice") << "FE/IT01234567890_0000A.xml.p7m" << true;
        QTest::newRow("lower case") << "articoli.dbf" << false;
        QTest::newRow("folder") << "dati/ARTICOLI.DBF" << false;
        QTest::newRow("unknown table") << "ALTRO.DBF" << false;
        QTest::newRow("invoice subfolder") << "FE/2026/IT01234567890_00001.xml" << false;
        QTest::newRow("invoice parent") << "FE/../Dati.ini" << false;
        QTest::newRow("invoice dots") << "FE/.." << false;
        QTest::newRow("invoice hidden") << "FE/.profile" << false;
        QTest::newRow("invoice folder") << "FE/" << false;
        QTest::newRow("invoice backslash") << "FE/a\\b.xml" << false;
    }
    void entriesARestoreTakes() {
        QFETCH(QString, entry);
        QFETCH(bool, known);
        QCOMPARE(ArchiveContents::isKnownEntry(entry, allTableLayouts()), known);
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
        // Every table of the layouts, with its index where it has tags and its
        // memo file where it has memo columns, in the layouts' order.
        QStringList expected;
        for (const TableLayout &layout : allTableLayouts()) {
            expected << layout.fileName();
            if (!layout.tags.isEmpty())
                expected << layout.name + QStringLiteral(".MDX");
            for (const db::FieldDef &field : layout.fields)
                if (field.isMemo()) {
                    expected << layout.name + QStringLiteral(".DBT");
                    break;
                }
        }
        expected << QStringLiteral("DATI.INI");
        for (const char *table : {"RICEVUTE.DBF", "CARICO_I.DBF", "TABLE4.DBF", "TABLE5.DBF",
                                  "ARTICOLI.DBT", "CONFIG.DBT"})
            QVERIFY2(expected.contains(QString::fromLatin1(table)), table);
        QCOMPARE(expected.size(), snapshot(f.data()).size() + 1);
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
        // What an older archive of the name held is replaced, not merged: a
        // restore takes every entry of what a backup writes.
        QVERIFY(makeArchive(name, {{"VECCHIO.TXT", "x"}, {"ARTICOLI.DBF", "old"}}));
        const QStringList expected = [&] {
            TZipMaster zip;
            zip.setZipFilename(backup.salva(f.archive(QStringLiteral("FRESH.KVR"))).archive);
            QStringList names;
            for (const auto &e : zip.entries())
                names << QString::fromLatin1(e.name);
            return names;
        }();
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
        QCOMPARE(names, expected);

        QTemporaryDir out;
        zip.ExtractFiles(out.path());
        QCOMPARE(readAll(out.filePath(QStringLiteral("ARTICOLI.DBF"))), latest);
        // No half-written copies left beside the archive.
        QCOMPARE(QDir(f.shop->folder().archivePath()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QFileInfo(name).fileName(), QStringLiteral("FRESH.KVR")}));
    }

    // Whatever an archive of the day's name held before, the backup written
    // over it is one "Carica" takes.
    void everyBackupIsRestorable_data() {
        QTest::addColumn<QList<QByteArray>>("oldEntries");
        QTest::newRow("none") << QList<QByteArray>{};
        QTest::newRow("foreign file") << QList<QByteArray>{"LEGGIMI.TXT"};
        QTest::newRow("unsafe name") << QList<QByteArray>{"../ARTICOLI.DBF"};
        QTest::newRow("other letters") << QList<QByteArray>{"articoli.dbf", "VENDITE.DBF"};
        QTest::newRow("folder") << QList<QByteArray>{"dati/CLIENTI.DBF"};
    }
    void everyBackupIsRestorable() {
        QFETCH(QList<QByteArray>, oldEntries);
        FilledShop f;
        DataFolderBackup backup(*f.shop);
        const QString name = backup.todaysArchive();
        if (!oldEntries.isEmpty()) {
            QList<QPair<QByteArray, QByteArray>> entries;
            for (const QByteArray &entry : oldEntries)
                entries.append({entry, "old bytes"});
            QVERIFY(makeArchive(name, entries));
        }
        const auto saved = backup.salva(name);
        QVERIFY(saved.complete());
        const auto restored = DataFolderRestore(*f.shop).ripristina(name);
        QCOMPARE(restored.handled, saved.handled);
    }

    void unreadableFileIsNamed() {
        FilledShop f;
        f.db().close();
        // A table of records: opening the folder does not make it anew.
        QVERIFY(QFile::remove(QDir(f.data()).filePath(QStringLiteral("MISURE.DBF"))));
        f.shop->openDatabase();
        DataFolderBackup backup(*f.shop);
        const auto report = backup.salva(backup.todaysArchive());
        QVERIFY(!report.complete());
        QCOMPARE(report.unreadable, QStringList{QStringLiteral("MISURE.DBF")});
        TZipMaster zip;
        zip.setZipFilename(report.archive);
        QCOMPARE(zip.EntryCount(), report.handled);
        QVERIFY(DataFolderBackup::incompleteText(report).contains(QStringLiteral("MISURE.DBF")));
    }

    // The tables a later release adds are no loss in a folder that release
    // has not opened yet (the tool and the backup do not upgrade it); once
    // one of them exists, another one gone is missing like any other table.
    void tablesAddedLaterMissOnlyOnceAdded_data() {
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<QStringList>("missing");
        const QStringList added = SchemaUpgrade::addedTables();
        QStringList all;
        for (const QString &name : added)
            all << name + QStringLiteral(".DBF") << name + QStringLiteral(".MDX");
        QTest::newRow("older folder") << all << QStringList{};
        QTest::newRow("a folder of the release before the vouchers")
            << QStringList{QStringLiteral("BUONI.DBF"), QStringLiteral("BUONI.MDX"),
                           QStringLiteral("BUONIMOV.DBF"), QStringLiteral("BUONIMOV.MDX")}
            << QStringList{};
        QTest::newRow("one gone from an upgraded folder")
            << QStringList{QStringLiteral("SALDIART.DBF")}
            << QStringList{QStringLiteral("SALDIART.DBF")};
    }
    void tablesAddedLaterMissOnlyOnceAdded() {
        QFETCH(QStringList, removed);
        QFETCH(QStringList, missing);
        FilledShop f;
        f.db().close();
        for (const QString &name : removed)
            QFile::remove(QDir(f.data()).filePath(name));
        f.db().open(f.data());
        QCOMPARE(DataFolderSetup::missingRecordTables(f.db(), f.shop->tableLayouts()), missing);
        DataFolderBackup backup(*f.shop);
        const auto report = backup.salva(backup.todaysArchive());
        QCOMPARE(report.unreadable, missing);
        QCOMPARE(report.complete(), missing.isEmpty());
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

    // A copy taken to a new PC: a program folder with nothing in it yet.
    void restoreOntoANewProgramFolder_data() {
        QTest::addColumn<bool>("historicArchive");
        QTest::newRow("backup of this release") << false;
        // An archive of an earlier release: only the 72 files of its fixed list.
        QTest::newRow("earlier archive") << true;
    }
    void restoreOntoANewProgramFolder() {
        QFETCH(bool, historicArchive);
        FilledShop f;
        const QString archive = DataFolderBackup(*f.shop).salva(f.archive("COPIA.KVR")).archive;
        const QStringList freshShop = snapshot(f.data()).keys();
        f.db().close();
        if (historicArchive) {
            TZipMaster zip;
            zip.setZipFilename(archive);
            QTemporaryDir all;
            zip.ExtractFiles(all.path());
            for (const char *forgotten : {"RICEVUTE.DBF", "RICEVUTE.MDX", "CARICO_I.DBF",
                                          "TABLE4.DBF", "TABLE5.DBF", "TABLE5.MDX"})
                QVERIFY(QFile::remove(all.filePath(QString::fromLatin1(forgotten))));
            QList<QPair<QByteArray, QByteArray>> entries;
            const auto files = snapshot(all.path());
            for (auto it = files.begin(); it != files.end(); ++it)
                entries.append({it.key().toLatin1(), it.value()});
            QVERIFY(makeArchive(archive, entries));
        }

        QTemporaryDir newPc;
        ProgramFolder folder(newPc.path());
        QVERIFY(folder.prepare());
        ScriptedPrompter prompter;
        Shop shop(folder, f.clock, prompter);
        shop.setTableLayouts(allTableLayouts());
        DataFolderRestore(shop).ripristina(archive);
        shop.openDatabase();
        QCOMPARE(snapshot(folder.dataPath()).keys(), freshShop);
        QVERIFY(
            DataFolderSetup::missingRecordTables(shop.database(), shop.tableLayouts()).isEmpty());

        // Prima nota and the article history run on the restored folder.
        PrimaNota book(shop.database());
        book.write(book.gather(QStringLiteral("01/03/2026"), QStringLiteral("15/03/2026")));
        ArticleHistory history(shop);
        history.load(1);
        history.close();
        QVERIFY(prompter.done());
    }

    // Work tables are made anew whenever the folder is opened; a table of
    // records never is: it is named instead.
    void openingMakesOnlyWorkTablesAnew() {
        FilledShop f;
        f.db().close();
        const QDir data(f.data());
        const QByteArray articles = readAll(data.filePath(QStringLiteral("ARTICOLI.DBF")));
        for (const char *gone : {"TABLE4.DBF", "RICEVUTE.DBF", "RICEVUTE.MDX", "CARICO_I.DBF",
                                 "ELEMENTI.DBF", "CLIENTI.DBF", "CLIENTI.MDX", "ACCONTI.DBF"})
            QVERIFY(QFile::remove(data.filePath(QString::fromLatin1(gone))));
        f.shop->openDatabase();
        for (const char *made :
             {"TABLE4.DBF", "RICEVUTE.DBF", "RICEVUTE.MDX", "CARICO_I.DBF", "ELEMENTI.DBF"})
            QVERIFY2(QFileInfo::exists(data.filePath(QString::fromLatin1(made))), made);
        QVERIFY(!QFileInfo::exists(data.filePath(QStringLiteral("CLIENTI.DBF"))));
        QCOMPARE(DataFolderSetup::missingRecordTables(f.db(), f.shop->tableLayouts()),
                 (QStringList{QStringLiteral("CLIENTI.DBF"), QStringLiteral("ACCONTI.DBF")}));
        QCOMPARE(readAll(data.filePath(QStringLiteral("ARTICOLI.DBF"))), articles);
    }

    // The e-invoice files travel with the data, and come back vetted.
    void invoiceFilesGoIntoTheCopy() {
        FilledShop f;
        const QDir invoices(QDir(f.shop->folder().archivePath()).filePath(QStringLiteral("FE")));
        QVERIFY(invoices.mkpath(QStringLiteral(".")));
        writeAll(invoices.filePath(QStringLiteral("IT01234567890_00001.xml")), "<fattura 1/>");
        writeAll(invoices.filePath(QStringLiteral("IT01234567890_00002.xml")), "<fattura 2/>");
        DataFolderBackup backup(*f.shop);
        const auto saved = backup.salva(backup.todaysArchive());
        QVERIFY(saved.complete());
        TZipMaster zip;
        zip.setZipFilename(saved.archive);
        QStringList names;
        for (const auto &e : zip.entries())
            names << QString::fromLatin1(e.name);
        QVERIFY(names.contains(QStringLiteral("FE/IT01234567890_00001.xml")));
        QVERIFY(names.contains(QStringLiteral("FE/IT01234567890_00002.xml")));

        // One lost, one changed since: the lost one comes back, the changed
        // one is kept aside, and a newer one stays.
        QVERIFY(QFile::remove(invoices.filePath(QStringLiteral("IT01234567890_00001.xml"))));
        writeAll(invoices.filePath(QStringLiteral("IT01234567890_00002.xml")), "<altra/>");
        writeAll(invoices.filePath(QStringLiteral("IT01234567890_00003.xml")), "<fattura 3/>");
        const auto report = DataFolderRestore(*f.shop).ripristina(saved.archive);
        QCOMPARE(report.handled, saved.handled);
        QCOMPARE(snapshot(invoices.path()),
                 (QMap<QString, QByteArray>{{"IT01234567890_00001.xml", "<fattura 1/>"},
                                            {"IT01234567890_00002.xml", "<fattura 2/>"},
                                            {"IT01234567890_00003.xml", "<fattura 3/>"}}));
        QCOMPARE(readAll(QDir(report.keptInvoices).filePath("IT01234567890_00002.xml")),
                 QByteArray("<altra/>"));
        QVERIFY(DataFolderRestore::successText(report).contains(
            QDir::toNativeSeparators(report.keptInvoices)));
        QVERIFY(!QFileInfo::exists(QDir(f.data()).filePath(QStringLiteral("FE"))));
        QCOMPARE(QDir(f.shop->folder().root())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QDir(f.shop->folder().root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot));

        // A file of that folder whose name no copy can hold is said, not skipped.
        writeAll(invoices.filePath(QStringLiteral("nota spese.txt")), "x");
        const auto incomplete = backup.salva(backup.todaysArchive());
        QCOMPARE(incomplete.unreadable, QStringList{QStringLiteral("FE/nota spese.txt")});
    }

    // Whoever extracts, no name leads outside the folder.
    void extractionRefusesUnsafeNames_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("parent") << QByteArray("../EVIL.TXT");
        QTest::newRow("inner parent") << QByteArray("FE/../../EVIL.TXT");
        QTest::newRow("absolute") << QByteArray("/tmp/EVIL.TXT");
        QTest::newRow("backslash") << QByteArray("..\\EVIL.TXT");
        QTest::newRow("drive") << QByteArray("C:EVIL.TXT");
        QTest::newRow("control") << QByteArray("EVIL\x01.TXT");
        QTest::newRow("empty part") << QByteArray("FE//EVIL.TXT");
    }
    void extractionRefusesUnsafeNames() {
        QFETCH(QByteArray, name);
        QTemporaryDir dir;
        const QString archive = dir.filePath(QStringLiteral("A.KVR"));
        QVERIFY(makeArchive(archive, {{"ARTICOLI.DBF", "good"}, {name, "evil"}}));
        const QString out = dir.filePath(QStringLiteral("out/inner"));
        QVERIFY(QDir().mkpath(out));
        TZipMaster zip;
        zip.setZipFilename(archive);
        QVERIFY(!failureOf([&] { zip.ExtractFiles(out); }).isEmpty());
        QCOMPARE(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
        QCOMPARE(QDir(dir.filePath(QStringLiteral("out")))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("inner")});
    }
};

QTEST_GUILESS_MAIN(TestArchiveMaintenance)
#include "tst_archivemaintenance.moc"
