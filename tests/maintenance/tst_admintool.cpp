#include "common/ShopFixture.h"
#include "maintenance/ArchiveTestKit.h"
#include "sales/einvoice/EInvoiceShop.h"
#include "stock/Inventory.h"
#include "stock/MovementPeriod.h"
#include "stock/Movements.h"
#include "stock/SpreadsheetFile.h"

#include <QProcess>
#include <QTest>

using namespace archivetest;
using namespace corvale;

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

    // The exports are the files the report windows write, byte for byte.
    void exportsTheReports() {
        ShopFixture f;
        f.add(QStringLiteral("ARTICOLI"), {{"NUMREG", 4},
                                           {"BARCODE", "800004"},
                                           {"DESCRIZION", "SANDALO L'ESTATE"},
                                           {"INUSO", true}});
        f.add(QStringLiteral("ARCART_A"), {{"NUMCAR", 1},
                                           {"NUMART", 4},
                                           {"QUANTITA", 3},
                                           {"PREZZO", 20},
                                           {"DATAREG", QDate(2026, 2, 10)}});
        const QString home = f.shop->folder().root();
        const QString out = QDir(home).filePath("inv.xls");
        MovementPeriod quarter;
        quarter.kind = MovementPeriod::Kind::Range;
        quarter.from = QDate(2026, 1, 1);
        quarter.to = QDate(2026, 3, 31);
        const QString expectedInventory = QDir(home).filePath("expected-inv.xls");
        const QString expectedMovements = QDir(home).filePath("expected-mov.xls");
        QCOMPARE(SpreadsheetFile::write(expectedInventory, Inventory::exportFor(*f.shop)),
                 SpreadsheetFile::Outcome::Written);
        QCOMPARE(SpreadsheetFile::write(expectedMovements, Movements::exportFor(*f.shop, quarter)),
                 SpreadsheetFile::Outcome::Written);
        f.db().close();

        const QStringList base{QStringLiteral("--home"), home, QStringLiteral("--today"),
                               QStringLiteral("2026-03-15"), QStringLiteral("export")};
        Outcome o = admin(base + QStringList{"inventory", out});
        QVERIFY2(o.status == 0, qPrintable(o.err));
        QCOMPARE(o.out.trimmed(), QDir::toNativeSeparators(out));
        QCOMPARE(readAll(out), readAll(expectedInventory));

        // Without a file: the name the windows propose, in "archivio".
        o = admin(base + QStringList{"load-unload", "--from", "2026-01-01", "--to", "2026-03-31"});
        QVERIFY2(o.status == 0, qPrintable(o.err));
        const QString proposed = QDir(f.shop->folder().archivePath()).filePath("VN150326.XLS");
        QCOMPARE(o.out.trimmed(), QDir::toNativeSeparators(proposed));
        QCOMPARE(readAll(proposed), readAll(expectedMovements));

        o = admin(base + QStringList{"stock", "--size-type", "1", out});
        QVERIFY2(o.status == 0, qPrintable(o.err));

        for (const QStringList &wrong :
             {QStringList{"stock"}, QStringList{"nonsense"},
              QStringList{"inventory", "--from", "2026-01-01"},
              QStringList{"load-unload", "--from", "2026-01-01"},
              QStringList{"load-unload", "--from", "2026-03-01", "--to", "2026-01-01"},
              QStringList{"inventory", "--year", "abc"}, QStringList{"inventory", "a", "b"}}) {
            o = admin(base + wrong);
            QVERIFY2(o.status == 2, qPrintable(wrong.join(u' ')));
        }
        o = admin(base + QStringList{"inventory", QDir(home).filePath("no/such/folder/x.xls")});
        QCOMPARE(o.status, 1);
        QVERIFY(o.err.contains(QStringLiteral("ERRORE")));
    }

    void exportsElectronicInvoices() {
        ShopFixture f;
        einvoicetest::setShop(f);
        einvoicetest::addCustomer(f, 5, QStringLiteral("CLIENTE SRL"),
                                  {{"PARTIVA", "12345678903"}});
        einvoicetest::addCustomer(f, 6, QStringLiteral("SENZA CODICI"), {});
        using einvoicetest::line;
        einvoicetest::storeInvoice(f, 5, {line(1, "ROSSO", 1, 1, 10)}, QDate(2026, 2, 1));
        einvoicetest::storeInvoice(f, 5, {line(1, "ROSSO", 1, 2, 10)}, QDate(2026, 3, 1));
        einvoicetest::storeInvoice(f, 6, {line(1, "ROSSO", 1, 3, 10)}, QDate(2026, 4, 1));
        const QString home = f.shop->folder().root();
        f.db().close();
        const QStringList base{QStringLiteral("--home"), home, QStringLiteral("export"),
                               QStringLiteral("fatturapa")};

        Outcome o = admin(base + QStringList{"--from", "2026-01-01", "--to", "2026-03-31"});
        QVERIFY2(o.status == 0, qPrintable(o.err));
        const QString fe = QDir(home).filePath(QStringLiteral("archivio/FE"));
        QCOMPARE(QDir(fe).entryList(QDir::Files),
                 (QStringList{"IT01234567897_00001.xml", "IT01234567897_00002.xml"}));
        QVERIFY(
            o.out.contains(QDir::toNativeSeparators(QDir(fe).filePath("IT01234567897_00001.xml"))));

        // Into a folder of its own; the customer without codes is named and fails the run.
        const QString other = QDir(home).filePath(QStringLiteral("consegna"));
        o = admin(base + QStringList{"--from", "2026-04-01", "--to", "2026-04-30", other});
        QCOMPARE(o.status, 1);
        QVERIFY2(
            o.err.contains(QStringLiteral("Manca il codice fiscale o la partita IVA del cliente")),
            qPrintable(o.err));
        QVERIFY(QDir(other).entryList(QDir::Files).isEmpty());

        for (const QStringList &wrong :
             {QStringList{}, QStringList{"--from", "2026-01-01"}, QStringList{"--year", "2026"}}) {
            o = admin(base + wrong);
            QVERIFY2(o.status == 2, qPrintable(wrong.join(u' ')));
        }
    }
};

QTEST_GUILESS_MAIN(TestAdminTool)
#include "tst_admintool.moc"
