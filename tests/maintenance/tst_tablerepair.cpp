#include "common/ShopFixture.h"

#include "maintenance/CounterUpdate.h"
#include "maintenance/TableRepair.h"
#include "shell/CommonRoutines.h"

#include <QTest>

using namespace corvale;

class TestTableRepair : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void brokenAndOrphanLines() {
        ShopFixture f;
        f.add(QStringLiteral("ARTICOLI"), {{"NUMREG", 1}, {"BARCODE", "800001"}});
        f.add(QStringLiteral("CARICHI"), {{"NUMREG", 10}});
        f.add(QStringLiteral("RESI"), {{"NUMREG", 11}});
        f.add(QStringLiteral("VENDITE"), {{"NUMREG", 20}});
        f.add(QStringLiteral("FATTURE"), {{"NUMREG", 21}});
        const QString a = QStringLiteral("ARCART_A");
        f.add(a, {{"NUMCAR", 10},
                  {"NUMART", 1},
                  {"TAGLIA", 2},
                  {"COLORE", "NERO"},
                  {"QUANTITA", 5},
                  {"DESCRIZION", "kept"}});
        f.add(a, {{"NUMCAR", 10}, {"NUMART", 1}, {"TAGLIA", 0}, {"DESCRIZION", "size 0"}});
        f.add(a, {{"NUMCAR", 10}, {"TAGLIA", 3}, {"DESCRIZION", "no article"}});
        f.add(a, {{"NUMCAR", 99}, {"NUMART", 1}, {"TAGLIA", 3}, {"DESCRIZION", "orphan"}});
        const QString r = QStringLiteral("ARCART_R");
        f.add(r, {{"NUMCAR", 11},
                  {"NUMART", 1},
                  {"TAGLIA", 2},
                  {"COLORE", "NERO"},
                  {"QUANTITA", 1},
                  {"DESCRIZION", "kept"}});
        f.add(r, {{"NUMCAR", 10}, {"NUMART", 1}, {"TAGLIA", 2}, {"DESCRIZION", "receipt no."}});
        const QString v = QStringLiteral("ARCART_V");
        f.add(v, {{"NUMVEN", 20},
                  {"NUMART", 1},
                  {"TAGLIA", 2},
                  {"COLORE", "NERO"},
                  {"QUANTITA", 1},
                  {"DESCRIZION", "sale"}});
        f.add(v, {{"NUMVEN", 21},
                  {"NUMART", 1},
                  {"TAGLIA", 2},
                  {"COLORE", "NERO"},
                  {"QUANTITA", 1},
                  {"DESCRIZION", "invoice"}});
        f.add(v, {{"NUMVEN", 22}, {"NUMART", 1}, {"TAGLIA", 2}, {"DESCRIZION", "orphan"}});
        // Older data folders have the notes' date; new ones do not (see below).
        f.db().executeSql(QStringLiteral("ALTER TABLE \"NOTA.dbf\" ADD DATAREG NUMERIC(8,0)"));
        f.add(QStringLiteral("NOTA"), {{"DATAREG", 20260101}});
        f.add(QStringLiteral("NOTA"), {{"DATAREG", 0}});
        // A stock cell that no line explains.
        f.add(QStringLiteral("ARCARTTG"), {{"ARTCODE", 1}, {"COLORE", "ROSSO"}, {"TG5", 9}});

        QList<int> gauge;
        TableRepair repair(*f.shop, [&](int value) { gauge << value; });
        repair.Verifica();
        QVERIFY(f.db().isOpen());

        QCOMPARE(f.column(a, QStringLiteral("DESCRIZION")), QStringList{"kept"});
        QCOMPARE(f.column(r, QStringLiteral("DESCRIZION")), QStringList{"kept"});
        QCOMPARE(f.column(v, QStringLiteral("DESCRIZION")), (QStringList{"sale", "invoice"}));
        QCOMPARE(f.column(QStringLiteral("NOTA"), QStringLiteral("DATAREG")),
                 QStringList{"20260101"});
        // Stock from the lines: 5 received, 1 returned, 2 sold.
        QCOMPARE(f.column(QStringLiteral("ARCARTTG"), QStringLiteral("COLORE")),
                 QStringList{"NERO"});
        QCOMPARE(f.column(QStringLiteral("ARCARTTG"), QStringLiteral("TG2")), QStringList{"2"});

        QCOMPARE(gauge.first(), 0);
        QCOMPARE(gauge.at(1), 3);
        QCOMPARE(gauge.at(29), 87);
        QCOMPARE(gauge.mid(30, 3), (QList<int>{90, 93, 96}));
        QCOMPARE(gauge.last(), 100);
    }

    void tablesAreReindexedAndPacked() {
        ShopFixture f;
        for (int i = 1; i <= 3; ++i)
            f.add(QStringLiteral("COLORI"), {{"NUMREG", i}, {"COLORE", QString("C%1").arg(i)}});
        {
            db::Table t(f.db());
            t.setTableName(QStringLiteral("COLORI"));
            t.open();
            t.first();
            t.remove();
        }
        // A new data folder's NOTA has no date column: the check still runs through.
        TableRepair(*f.shop).Verifica();
        db::Table t(f.db());
        t.setTableName(QStringLiteral("COLORI"));
        t.open();
        QCOMPARE(t.physicalRecordCount(), 2u);
        t.setIndexName(QStringLiteral("COLORE"));
        t.first();
        QCOMPARE(t.asString(QStringLiteral("COLORE")), QStringLiteral("C2"));
    }

    void tableInUseIsPassedOver() {
        ShopFixture f;
        db::Table held(f.db());
        TableRepair repair(*f.shop);
        QVERIFY(repair.reindexAndPack(QStringLiteral("MARCHI")));
        QVERIFY(!repair.reindexAndPack(QStringLiteral("NOSUCH")));
        held.setTableName(QStringLiteral("MARCHI"));
        held.open();
        QVERIFY(!repair.reindexAndPack(QStringLiteral("MARCHI")));
    }

    void countersNeverGoDown() {
        ShopFixture f;
        CommonRoutines &routines = f.shop->routines();
        routines.SetCounter(QStringLiteral("VENDITE"), 120);
        routines.SetCounter(QStringLiteral("ARTICOLI"), 500);
        routines.SetCounter(QStringLiteral("ACQUISTI"), 10);
        routines.SetCounter(QStringLiteral("CLIENTI"), 3);
        routines.SetCounter(QStringLiteral("ACCONTI"), 40);
        f.add(QStringLiteral("VENDITE"), {{"NUMREG", 100}});
        f.add(QStringLiteral("FATTURE"), {{"NUMREG", 121}});
        f.add(QStringLiteral("ARTICOLI"), {{"NUMREG", 480}});
        f.add(QStringLiteral("ORDINI"), {{"NUMREG", 700}});
        f.add(QStringLiteral("CARICHI"), {{"NUMREG", 650}});
        f.add(QStringLiteral("FORNITOR"), {{"CODICE", 55}});
        // The name lists have no tag on their number.
        f.add(QStringLiteral("MATERIAL"), {{"NUMREG", 77}, {"NOME", "CUOIO"}});
        f.add(QStringLiteral("MATERIAL"), {{"NUMREG", 5}, {"NOME", "TELA"}});

        CounterUpdate update(*f.shop);
        update.UpdateCounters();
        QCOMPARE(f.counter(QStringLiteral("VENDITE")), 121);
        QCOMPARE(f.counter(QStringLiteral("ARTICOLI")), 500);
        QCOMPARE(f.counter(QStringLiteral("ACQUISTI")), 700);
        QCOMPARE(f.counter(QStringLiteral("CLIENTI")), 55);
        QCOMPARE(f.counter(QStringLiteral("ACCONTI")), 40);
        QCOMPARE(f.counter(QStringLiteral("COUNTER")), 77);
        update.UpdateCounters();
        QCOMPARE(f.counter(QStringLiteral("VENDITE")), 122);
        QCOMPARE(f.counter(QStringLiteral("ARTICOLI")), 500);

        // Articles above the counter raise it; one without a number reads as 0 and stays.
        f.add(QStringLiteral("ARTICOLI"), {{"NUMREG", 900}});
        f.add(QStringLiteral("ARTICOLI"), {{"DESCRIZION", "NO NUMBER"}});
        update.UpdateCounters();
        QCOMPARE(f.counter(QStringLiteral("ARTICOLI")), 900);
        QCOMPARE(f.column(QStringLiteral("ARTICOLI"), QStringLiteral("DESCRIZION")),
                 (QStringList{"", "", "NO NUMBER"}));
        QVERIFY(update.removed().isEmpty());
    }

    // Every record the check deletes is named in what it says at the end.
    void verificaNamesWhatItDeletes() {
        ShopFixture f;
        f.add(QStringLiteral("ARTICOLI"), {{"DESCRIZION", "SENZA NUMERO"}});
        f.add(QStringLiteral("ARTICOLI"), {{"NUMREG", 77}, {"DESCRIZION", "GUASTO"}});
        f.add(QStringLiteral("CARICHI"), {{"NUMREG", 10}});
        f.add(QStringLiteral("ARCART_A"), {{"NUMCAR", 10}, {"NUMART", 1}, {"TAGLIA", 0}});
        f.add(QStringLiteral("ARCART_V"), {{"NUMVEN", 22}, {"NUMART", 1}, {"TAGLIA", 2}});
        // Another program wrote something that is no number into a number field.
        f.db().close();
        const QString articles = QDir(f.shop->folder().dataPath()).filePath("ARTICOLI.DBF");
        QFile file(articles);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count("        77"), 1);
        bytes.replace("        77", "      7?7 ");
        file.seek(0);
        file.write(bytes);
        file.close();
        f.shop->openDatabase();

        TableRepair repair(*f.shop);
        repair.Verifica();
        QCOMPARE(f.column(QStringLiteral("ARTICOLI"), QStringLiteral("DESCRIZION")),
                 QStringList{"SENZA NUMERO"});
        const QStringList removed = repair.removed();
        QCOMPARE(removed.size(), 3);
        QVERIFY2(removed[0].startsWith(QStringLiteral("ARCART_A.DBF n. 1 (NUMART \"1\", TAGLIA "
                                                      "\"0\"): numero non valido")),
                 qPrintable(removed[0]));
        QVERIFY2(removed[1].startsWith(QStringLiteral("ARCART_V.DBF n. 1 (NUMVEN \"22\"")),
                 qPrintable(removed[1]));
        QVERIFY(removed[1].endsWith(QStringLiteral("documento inesistente")));
        QCOMPARE(removed[2],
                 QStringLiteral("ARTICOLI.DBF n. 2 (DESCRIZION \"GUASTO\"): numero non valido"));

        const QString text = TableRepair::outcomeText(TableRepair::successText(), removed, 2);
        QVERIFY(text.startsWith(TableRepair::successText() +
                                QStringLiteral("\n\nRecord eliminati (3):\n") + removed[0]));
        QVERIFY(text.endsWith(QStringLiteral("\n... e altri 1.")));
        QCOMPARE(TableRepair::outcomeText(TableRepair::successText(), {}),
                 TableRepair::successText());
    }
};

QTEST_GUILESS_MAIN(TestTableRepair)
#include "tst_tablerepair.moc"
