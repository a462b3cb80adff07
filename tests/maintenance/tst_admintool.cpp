#include "common/ShopFixture.h"
#include "maintenance/ArchiveTestKit.h"
#include "printing/SpreadsheetFile.h"
#include "sales/einvoice/EInvoiceShop.h"
#include "stock/Inventory.h"
#include "stock/MovementPeriod.h"
#include "stock/Movements.h"

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

Outcome admin(const QStringList &arguments, const QString &workingDirectory = {}) {
    QProcess p;
    if (!workingDirectory.isEmpty())
        p.setWorkingDirectory(workingDirectory);
    p.start(QStringLiteral(CORVALE_BINARY_DIR "/tools/admin/corvale-admin"), arguments);
    Outcome o;
    if (!p.waitForFinished(120000))
        return o;
    o.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    // A Windows console program ends its lines with CR LF.
    o.out = QString::fromUtf8(p.readAllStandardOutput()).replace(u"\r\n"_qs, u"\n"_qs);
    o.err = QString::fromUtf8(p.readAllStandardError()).replace(u"\r\n"_qs, u"\n"_qs);
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

    // "backup FILE" writes FILE as it is given (relative to where it runs, in
    // its own letters) and prints where it went.
    void backupToAGivenFile_data() {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("written"); // under the working folder
        QTest::newRow("plain") << "copia.kvr"
                               << "copia.kvr";
        QTest::newRow("no extension") << "copia"
                                      << "copia";
        QTest::newRow("new folder") << "chiavetta/sera.zip"
                                    << "chiavetta/sera.zip";
    }
    void backupToAGivenFile() {
        QFETCH(QString, given);
        QFETCH(QString, written);
        ShopFixture f;
        f.db().close();
        QTemporaryDir work;
        const Outcome o = admin(
            {QStringLiteral("--home"), f.shop->folder().root(), QStringLiteral("backup"), given},
            work.path());
        QVERIFY2(o.status == 0, qPrintable(o.err));
        const QString path = QDir(work.path()).filePath(written);
        QVERIFY(QFileInfo(path).isFile());
        QCOMPARE(o.out.trimmed(), QDir::toNativeSeparators(path));
        QCOMPARE(QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    }

    // A missing table of records is named by "check" and is no repair's business.
    void checkNamesAMissingTable() {
        ShopFixture f;
        f.db().close();
        QVERIFY(QFile::remove(QDir(f.shop->folder().dataPath()).filePath("CLIENTI.DBF")));
        QVERIFY(QFile::remove(QDir(f.shop->folder().dataPath()).filePath("TABLE5.DBF")));
        const Outcome o =
            admin({QStringLiteral("--home"), f.shop->folder().root(), QStringLiteral("check")});
        QCOMPARE(o.status, 1);
        QVERIFY2(o.out.contains(QStringLiteral("CLIENTI.DBF: tabella mancante")),
                 qPrintable(o.out));
        QVERIFY(!o.out.contains(QStringLiteral("TABLE5.DBF: tabella mancante")));
        QVERIFY(o.err.contains(QStringLiteral("CLIENTI.DBF")));
        QVERIFY(!QFileInfo::exists(QDir(f.shop->folder().dataPath()).filePath("CLIENTI.DBF")));
        // The work table is the program's to make anew; a check changes nothing.
        QVERIFY(!QFileInfo::exists(QDir(f.shop->folder().dataPath()).filePath("TABLE5.DBF")));
    }

    // "verify" names every record it deletes.
    void verifyListsWhatItDeletes() {
        ShopFixture f;
        f.add(QStringLiteral("ARCART_V"), {{"NUMVEN", 31}, {"NUMART", 1}, {"TAGLIA", 2}});
        f.db().close();
        const Outcome o =
            admin({QStringLiteral("--home"), f.shop->folder().root(), QStringLiteral("verify")});
        QCOMPARE(o.status, 0);
        QVERIFY2(o.out.startsWith(QStringLiteral("Operazione eseguita con Successo!")),
                 qPrintable(o.out));
        QVERIFY2(o.out.contains(QStringLiteral("ARCART_V.DBF n. 1 (NUMVEN \"31\"")),
                 qPrintable(o.out));
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

        // Without a file: the name the windows propose, in "archivio", made
        // when missing.
        QVERIFY(QDir(f.shop->folder().archivePath()).removeRecursively());
        o = admin(base + QStringList{"load-unload", "--from", "2026-01-01", "--to", "2026-03-31"});
        QVERIFY2(o.status == 0, qPrintable(o.err));
        const QString proposed = QDir(f.shop->folder().archivePath()).filePath("VN150326.XLS");
        QCOMPARE(o.out.trimmed(), QDir::toNativeSeparators(proposed));
        QCOMPARE(readAll(proposed), readAll(expectedMovements));

        // The stock of a size type the shop has; one it has not is refused.
        f.shop->openDatabase();
        f.add(QStringLiteral("TAGLIE"), {{"NUMREG", 1}, {"DESCRIZION", "SCARPE"}, {"TG1", "36"}});
        f.db().close();
        o = admin(base + QStringList{"stock", "--size-type", "1", out});
        QVERIFY2(o.status == 0, qPrintable(o.err));
        QVERIFY(readAll(out).contains("TAGLIA SCARPE"));
        QFile::remove(out);
        o = admin(base + QStringList{"stock", "--size-type", "2", out});
        QCOMPARE(o.status, 1);
        QVERIFY2(o.err.contains(QStringLiteral("Il tipo taglia 2 non esiste")), qPrintable(o.err));
        QVERIFY(!QFileInfo::exists(out));

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

    // Last year's inventory run in January: the lines of the new year stay
    // out, and the file is named and dated the day it is made.
    void exportsAPastYearsInventory() {
        ShopFixture f;
        f.add(QStringLiteral("ARTICOLI"),
              {{"NUMREG", 4}, {"BARCODE", "800004"}, {"DESCRIZION", "A"}});
        for (const QDate date : {QDate(2024, 6, 1), QDate(2025, 6, 1), QDate(2026, 1, 10)})
            f.add(QStringLiteral("ARCART_A"), {{"NUMCAR", 1},
                                               {"NUMART", 4},
                                               {"QUANTITA", date.year() == 2026 ? 99 : 10},
                                               {"DATAREG", date}});
        f.db().close();
        const QString home = f.shop->folder().root();
        const Outcome o =
            admin({QStringLiteral("--home"), home, QStringLiteral("--today"),
                   QStringLiteral("2026-01-20"), QStringLiteral("export"),
                   QStringLiteral("inventory"), QStringLiteral("--year"), QStringLiteral("2025")});
        QVERIFY2(o.status == 0, qPrintable(o.err));
        const QString proposed = QDir(f.shop->folder().archivePath()).filePath("VN200126.XLS");
        QCOMPARE(o.out.trimmed(), QDir::toNativeSeparators(proposed));
        const QList<QByteArray> lines = readAll(proposed).split('\n');
        QCOMPARE(lines.value(0), QByteArray("VENDITE - 20/01/2026\r"));
        QCOMPARE(lines.value(3), QByteArray("'800004\tA\t\t\t10\t10\t0\t20\t0\t\t\r"));
    }

    // The sell-through of a season, as "Venduto per stagione" exports it.
    void exportsTheSellThroughOfASeason() {
        ShopFixture f;
        f.add(QStringLiteral("ARTICOLI"), {{"NUMREG", 4},
                                           {"DESCRIZION", "GIACCA"},
                                           {"MARCHIO", "ALFA"},
                                           {"STAGIONE", "Autunno/Inverno"},
                                           {"ANNO", 2026},
                                           {"PREZZOVND", 100.0},
                                           {"PREZZOACQ", 40.0},
                                           {"IVA", 25.0}});
        f.add(QStringLiteral("ARCART_A"), {{"NUMART", 4}, {"QUANTITA", 4}, {"IMPORTO", 160}});
        f.add(QStringLiteral("ARCART_V"),
              {{"NUMART", 4}, {"QUANTITA", 2}, {"IMPORTO", 150}, {"TIPO", true}});
        f.db().close();
        const QString home = f.shop->folder().root();
        const QString out = QDir(home).filePath("st.xls");
        const QStringList base{QStringLiteral("--home"),  home,
                               QStringLiteral("--today"), QStringLiteral("2026-03-15"),
                               QStringLiteral("export"),  QStringLiteral("sell-through")};
        Outcome o = admin(base + QStringList{"--season", "autunno/inverno", "--year", "2026", out});
        QVERIFY2(o.status == 0, qPrintable(o.err));
        const QList<QByteArray> lines = readAll(out).split('\n');
        QCOMPARE(lines.value(3), QByteArray("ALFA\t4\t2\t0\t0\t50,0\t25,0\t40,00\t\r"));
        o = admin(base + QStringList{"--season", "Mezza stagione", out});
        QCOMPARE(o.status, 1);
        QVERIFY2(o.err.contains(QStringLiteral("non è nell'elenco delle stagioni")),
                 qPrintable(o.err));
        for (const QStringList &wrong :
             {QStringList{}, QStringList{"--season", "Autunno/Inverno", "--by", "colour"},
              QStringList{"--season", "Autunno/Inverno", "--size-type", "1"}}) {
            o = admin(base + wrong);
            QVERIFY2(o.status == 2, qPrintable(wrong.join(u' ')));
        }
        o = admin({QStringLiteral("--home"), home, QStringLiteral("export"),
                   QStringLiteral("inventory"), QStringLiteral("--season"),
                   QStringLiteral("Autunno/Inverno")});
        QCOMPARE(o.status, 2);
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
