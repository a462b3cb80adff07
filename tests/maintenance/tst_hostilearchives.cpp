#include "common/ShopFixture.h"
#include "maintenance/ArchiveTestKit.h"

#include "db/TableChecker.h"
#include "maintenance/ArchiveError.h"
#include "maintenance/DataFolderRestore.h"
#include "maintenance/TZipMaster.h"

#include <QTest>

#include <functional>

using namespace corvale;
using namespace archivetest;

namespace {

// What a crafted archive is built from: the bytes of a sound ARTICOLI.DBF.
using Maker = std::function<HandArchive(const QByteArray &table)>;

HandArchive one(HandEntry entry) {
    return HandArchive{{std::move(entry)}, {}, {}, 0, Zip64::None};
}

HandEntry table(const QByteArray &bytes, bool deflate = false) {
    HandEntry e;
    e.name = "ARTICOLI.DBF";
    e.data = bytes;
    e.deflate = deflate;
    return e;
}

HandEntry named(const QByteArray &name, const QByteArray &bytes = "evil") {
    HandEntry e;
    e.name = name;
    e.data = bytes;
    return e;
}

const QList<QPair<const char *, Maker>> &hostileCases() {
    static const QList<QPair<const char *, Maker>> cases = {
        {"central and local names differ",
         [](const QByteArray &t) {
             HandEntry e = named("../EVIL.TXT", t);
             e.localName = QByteArray("ARTICOLI.DBF");
             return one(e);
         }},
        // Both names are files of a data folder: only the comparison of the
        // two directories tells the lie.
        {"central and local names two tables",
         [](const QByteArray &t) {
             HandEntry e = named("VENDITE.DBF", t);
             e.localName = QByteArray("ARTICOLI.DBF");
             return one(e);
         }},
        {"entry only in the central directory",
         [](const QByteArray &t) {
             HandEntry hidden = named("../EVIL.TXT");
             hidden.centralOnlyAt = 0;
             return HandArchive{{table(t), hidden}, {}, {}, 0, Zip64::None};
         }},
        {"entry only in the local headers",
         [](const QByteArray &t) {
             HandEntry hidden = named("../EVIL.TXT");
             hidden.localOnly = true;
             return HandArchive{{table(t), hidden}, {}, {}, 0, Zip64::None};
         }},
        {"same name in other letters",
         [](const QByteArray &t) {
             return HandArchive{{table(t), named("articoli.dbf", t)}, {}, {}, 0, Zip64::None};
         }},
        {"parent folder", [](const QByteArray &) { return one(named("../EVIL.TXT")); }},
        {"inner parent folder", [](const QByteArray &) { return one(named("FE/../../EVIL.TXT")); }},
        {"root", [](const QByteArray &) { return one(named("/tmp/EVIL.TXT")); }},
        {"backslash", [](const QByteArray &) { return one(named("..\\EVIL.TXT")); }},
        {"drive letter", [](const QByteArray &) { return one(named("C:EVIL.TXT")); }},
        {"NUL in the name",
         [](const QByteArray &t) { return one(named(QByteArray("ARTICOLI.DBF\0.TXT", 17), t)); }},
        {"control character", [](const QByteArray &) { return one(named("EVIL\x1B.TXT")); }},
        {"folder entry", [](const QByteArray &) { return one(named("FE/", "")); }},
        {"symbolic link",
         [](const QByteArray &) {
             HandEntry e = named("ARTICOLI.DBF", "/etc/passwd");
             e.madeBy = 0x031E; // Unix
             e.external = 0120777u << 16;
             return one(e);
         }},
        {"directory attribute",
         [](const QByteArray &t) {
             HandEntry e = table(t);
             e.external = 0x10;
             return one(e);
         }},
        {"stored, declared larger",
         [](const QByteArray &t) {
             HandEntry e = table(t);
             e.declaredSize = quint32(t.size() * 10);
             return one(e);
         }},
        {"deflated, declared larger",
         [](const QByteArray &t) {
             HandEntry e = table(t, true);
             e.declaredSize = quint32(t.size() + 1000);
             return one(e);
         }},
        {"deflated, declared smaller",
         [](const QByteArray &t) {
             HandEntry e = table(t, true);
             e.declaredSize = 100;
             return one(e);
         }},
        {"bomb: declared size impossible",
         [](const QByteArray &) {
             HandEntry e = named("ARTICOLI.DBF", QByteArray(1 << 20, '\0'));
             e.deflate = true;
             e.declaredSize = 0xFFFFFFF0u;
             return one(e);
         }},
        {"bomb: far more inside than declared",
         [](const QByteArray &) {
             HandEntry e = named("ARTICOLI.DBF", QByteArray(20 << 20, '\0'));
             e.deflate = true;
             e.declaredSize = 1000;
             return one(e);
         }},
        {"ZIP64 locator missing",
         [](const QByteArray &t) {
             HandArchive a = one(table(t));
             a.zip64 = Zip64::MissingLocator;
             return a;
         }},
        {"ZIP64 locator points elsewhere",
         [](const QByteArray &t) {
             HandArchive a = one(table(t));
             a.zip64 = Zip64::LocatorOffset;
             return a;
         }},
        {"ZIP64 record of the wrong length",
         [](const QByteArray &t) {
             HandArchive a = one(table(t));
             a.zip64 = Zip64::RecordLength;
             return a;
         }},
        {"ZIP64 counts disagree",
         [](const QByteArray &t) {
             HandArchive a = one(table(t));
             a.zip64 = Zip64::CountDiffers;
             return a;
         }},
        {"central directory cut short",
         [](const QByteArray &t) {
             HandArchive a{
                 {table(t), named("DATI.INI", "[GENERALI]\r\n")}, {}, {}, 20, Zip64::None};
             return a;
         }},
        {"appended to another file",
         [](const QByteArray &t) {
             HandArchive a = one(table(t));
             a.prefix = "MZ" + QByteArray(1000, '\x90');
             return a;
         }},
        {"bytes after the archive",
         [](const QByteArray &t) {
             HandArchive a = one(table(t));
             a.suffix = "che cosa ci fa qui?";
             return a;
         }},
        // What is inside must be a table the program can open.
        {"table of eleven bytes",
         [](const QByteArray &) { return one(named("ARTICOLI.DBF", "/etc/passwd")); }},
        {"table cut short", [](const QByteArray &t) { return one(table(t.chopped(40))); }},
        {"table with a wrong record count",
         [](const QByteArray &t) {
             QByteArray bytes = t;
             bytes[4] = char(bytes[4] + 5);
             return one(table(bytes));
         }},
    };
    return cases;
}

struct Shop1 : ShopFixture {
    Shop1() {
        add(QStringLiteral("ARTICOLI"),
            {{"NUMREG", 1}, {"DESCRIZION", "SCARPA DONNA"}, {"BARCODE", "800001"}});
        archivetest::writeAll(shop->folder().iniPath(), "[GENERALI]\r\nAUTOSAVE=1\r\n");
        db().close();
        articles = readAll(QDir(shop->folder().dataPath()).filePath("ARTICOLI.DBF"));
        index = readAll(QDir(shop->folder().dataPath()).filePath("ARTICOLI.MDX"));
    }
    QByteArray articles;
    QByteArray index;
};

QString restoreFailure(Shop &shop, const QString &archive) {
    try {
        DataFolderRestore(shop).ripristina(archive);
    } catch (const ArchiveError &e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestHostileArchives : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Each crafted archive is refused with its reason, and nothing anywhere
    // changes: not the data folder, not the settings, no file outside.
    void refusedAndNothingChanges_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < hostileCases().size(); ++i)
            QTest::newRow(hostileCases()[i].first) << i;
    }
    void refusedAndNothingChanges() {
        QFETCH(int, index);
        Shop1 f;
        QTemporaryDir outside;
        const QString archive = outside.filePath(QStringLiteral("OSTILE.KVR"));
        writeAll(archive, build(hostileCases()[index].second(f.articles)));
        const QString root = f.shop->folder().root();
        const auto before = tree(root);
        const QString message = restoreFailure(*f.shop, archive);
        QVERIFY2(!message.isEmpty(), "accepted");
        QVERIFY2(message.contains(QStringLiteral("annullato")) ||
                     message.contains(QStringLiteral("danneggiato")) ||
                     message.startsWith(QStringLiteral("Error ")),
                 qPrintable(message));
        QCOMPARE(tree(root), before);
        QCOMPARE(QDir(outside.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("OSTILE.KVR")});
    }

    // The same archives, handed to the extraction itself: nothing is written
    // outside the folder it is given, whoever calls it.
    void extractionWritesNothingOutside_data() { refusedAndNothingChanges_data(); }
    void extractionWritesNothingOutside() {
        QFETCH(int, index);
        QTemporaryDir dir;
        const QString archive = dir.filePath(QStringLiteral("OSTILE.KVR"));
        writeAll(archive, build(hostileCases()[index].second(QByteArray(300, 'x'))));
        const QString target = dir.filePath(QStringLiteral("a/b"));
        QVERIFY(QDir().mkpath(target));
        TZipMaster zip;
        try {
            zip.setZipFilename(archive);
            zip.ExtractFiles(target);
        } catch (const ArchiveError &) {
        }
        auto all = tree(dir.path());
        all.remove(QStringLiteral("OSTILE.KVR"));
        for (auto it = all.begin(); it != all.end(); ++it)
            QVERIFY2(it.key().startsWith(QLatin1String("a/b/")), qPrintable(it.key()));
    }

    void namesTheBrokenTable() {
        Shop1 f;
        QTemporaryDir outside;
        const QString archive = outside.filePath(QStringLiteral("A.KVR"));
        writeAll(archive, build(one(named("ARTICOLI.DBF", "/etc/passwd"))));
        const QString message = restoreFailure(*f.shop, archive);
        QVERIFY2(message.contains(QStringLiteral("la tabella ARTICOLI.DBF")), qPrintable(message));
    }

    // The hand-made archives are sound where they are meant to be: a plain
    // one and a ZIP64 one restore, stored or deflated.
    void soundHandMadeArchivesRestore_data() {
        QTest::addColumn<bool>("deflate");
        QTest::addColumn<bool>("zip64");
        QTest::newRow("stored") << false << false;
        QTest::newRow("deflated") << true << false;
        QTest::newRow("ZIP64") << true << true;
    }
    void soundHandMadeArchivesRestore() {
        QFETCH(bool, deflate);
        QFETCH(bool, zip64);
        Shop1 f;
        QTemporaryDir outside;
        const QString archive = outside.filePath(QStringLiteral("A.KVR"));
        HandArchive a{{table(f.articles, deflate), named("DATI.INI", "[GENERALI]\r\n")},
                      {},
                      {},
                      0,
                      zip64 ? Zip64::Valid : Zip64::None};
        writeAll(archive, build(a));
        const auto report = DataFolderRestore(*f.shop).ripristina(archive);
        QCOMPARE(report.handled, 2);
        QCOMPARE(readAll(QDir(f.shop->folder().dataPath()).filePath("ARTICOLI.DBF")), f.articles);
        QCOMPARE(readAll(f.shop->folder().iniPath()), QByteArray("[GENERALI]\r\n"));
    }

    // A table whose index no longer matches it is restored with the index
    // rebuilt: indexes are derived data.
    void staleIndexIsRebuilt() {
        Shop1 f;
        f.shop->openDatabase();
        f.add(QStringLiteral("ARTICOLI"), {{"NUMREG", 2}, {"DESCRIZION", "STIVALE"}});
        f.db().close();
        const QString data = f.shop->folder().dataPath();
        const QByteArray twoArticles = readAll(QDir(data).filePath("ARTICOLI.DBF"));
        // The data folder goes back to one article; the archive holds two,
        // without their index.
        writeAll(QDir(data).filePath("ARTICOLI.DBF"), f.articles);
        writeAll(QDir(data).filePath("ARTICOLI.MDX"), f.index);
        QTemporaryDir outside;
        writeAll(outside.filePath("ARTICOLI.DBF"), twoArticles);
        writeAll(outside.filePath("ARTICOLI.MDX"), f.index);
        QVERIFY(!db::TableChecker::check(db::FileSystem::local(), outside.filePath("ARTICOLI.DBF"))
                     .isEmpty());
        const QString archive = outside.filePath(QStringLiteral("A.KVR"));
        writeAll(archive, build(one(table(twoArticles))));
        DataFolderRestore(*f.shop).ripristina(archive);
        QCOMPARE(readAll(QDir(data).filePath("ARTICOLI.DBF")).size(), twoArticles.size());
        QCOMPARE(
            db::TableChecker::check(db::FileSystem::local(), QDir(data).filePath("ARTICOLI.DBF")),
            QStringList{});
        f.shop->openDatabase();
        QCOMPARE(f.column(QStringLiteral("ARTICOLI"), QStringLiteral("DESCRIZION")),
                 (QStringList{"SCARPA DONNA", "STIVALE"}));
    }
};

QTEST_GUILESS_MAIN(TestHostileArchives)
#include "tst_hostilearchives.moc"
