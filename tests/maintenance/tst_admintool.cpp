#include "common/ShopFixture.h"
#include "maintenance/ArchiveTestKit.h"

#include <QProcess>
#include <QTest>

using namespace archivetest;

namespace {

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

Outcome admin(const QStringList &arguments) {
    QProcess p;
    p.start(QStringLiteral(CORVALE_BINARY_DIR "/tools/admin/corvale-admin"), arguments);
    Outcome o;
    if (!p.waitForFinished(120000))
        return o;
    o.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    o.out = QString::fromUtf8(p.readAllStandardOutput());
    o.err = QString::fromUtf8(p.readAllStandardError());
    return o;
}

} // namespace

class TestAdminTool : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wrongUsage() {
        ShopFixture f;
        const QString home = f.shop->folder().root();
        for (const QStringList &args :
             {QStringList{}, QStringList{"--home", home}, QStringList{"--home", home, "dance"},
              QStringList{"--home", home, "--today", "31/12/2026", "backup"},
              QStringList{"--home", home, "restore"}, QStringList{"--home", home, "verify", "x"},
              QStringList{"--bogus", "check"}}) {
            const Outcome o = admin(args);
            QVERIFY2(o.status == 2, qPrintable(args.join(u' ')));
            QVERIFY(o.err.contains(QStringLiteral("Uso: corvale-admin")));
        }
    }

    void refusesWhileTheProgramHoldsTheFolder() {
        ShopFixture f; // its database is open: the folder is locked
        const QString home = f.shop->folder().root();
        const auto before = snapshot(f.shop->folder().dataPath());
        for (const char *command : {"backup", "verify", "rebuild-stock", "check"}) {
            const Outcome o = admin({QStringLiteral("--home"), home, QString::fromLatin1(command)});
            QCOMPARE(o.status, 1);
            QVERIFY2(o.err.contains(QStringLiteral("già in uso")), qPrintable(o.err));
        }
        QCOMPARE(snapshot(f.shop->folder().dataPath()), before);
        QVERIFY(QDir(f.shop->folder().archivePath()).isEmpty());
    }

    void backupCheckVerifyRestore() {
        ShopFixture f;
        f.add(QStringLiteral("ARTICOLI"), {{"NUMREG", 4}, {"BARCODE", "800004"}});
        f.db().close();
        const QString home = f.shop->folder().root();
        const QString data = f.shop->folder().dataPath();

        Outcome o = admin({QStringLiteral("--home=") + home, QStringLiteral("--today=2026-01-02"),
                           QStringLiteral("backup")});
        QVERIFY2(o.status == 0, qPrintable(o.err));
        const QString archive = QDir(f.shop->folder().archivePath()).filePath("AR020126.KVR");
        QCOMPARE(o.out.trimmed(), QDir::toNativeSeparators(archive));
        QVERIFY(QFileInfo(archive).isFile());

        // A check reads and reports; it changes nothing, even on a damaged table.
        o = admin({QStringLiteral("--home"), home, QStringLiteral("check")});
        QCOMPARE(o.status, 0);
        QVERIFY(o.out.contains(QStringLiteral("ARTICOLI.DBF: integra")));
        QByteArray mdx = readAll(QDir(data).filePath("ARTICOLI.MDX"));
        mdx.chop(512);
        writeAll(QDir(data).filePath("ARTICOLI.MDX"), mdx);
        const auto damaged = snapshot(data);
        o = admin({QStringLiteral("--home"), home, QStringLiteral("check")});
        QCOMPARE(o.status, 1);
        QVERIFY(o.out.contains(QStringLiteral("ARTICOLI.DBF: ")));
        QVERIFY(!o.err.isEmpty());
        QCOMPARE(snapshot(data), damaged);

        o = admin({QStringLiteral("--home"), home, QStringLiteral("verify")});
        QCOMPARE(o.status, 0);
        QCOMPARE(o.out.trimmed(), QStringLiteral("Operazione eseguita con Successo!"));
        o = admin({QStringLiteral("--home"), home, QStringLiteral("check")});
        QCOMPARE(o.status, 0);
        o = admin({QStringLiteral("--home"), home, QStringLiteral("rebuild-stock")});
        QCOMPARE(o.status, 0);

        // A foreign archive is refused with its reason; the saved one comes back.
        const QString bad = QDir(home).filePath("BAD.KVR");
        QVERIFY(makeArchive(bad, {{"../ARTICOLI.DBF", "x"}}));
        o = admin({QStringLiteral("--home"), home, QStringLiteral("restore"), bad});
        QCOMPARE(o.status, 1);
        QVERIFY(o.err.contains(QStringLiteral("../ARTICOLI.DBF")));
        o = admin({QStringLiteral("--home"), home, QStringLiteral("restore"), archive});
        QCOMPARE(o.status, 0);
        QVERIFY(o.out.startsWith(QStringLiteral("Recupero Dati Effettuato con Successo!\n")));

        o = admin(
            {QStringLiteral("--home"), QDir(home).filePath("nowhere"), QStringLiteral("backup")});
        QCOMPARE(o.status, 1);
    }
};

QTEST_GUILESS_MAIN(TestAdminTool)
#include "tst_admintool.moc"
