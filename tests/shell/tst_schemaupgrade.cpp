#include "db/Database.h"
#include "db/Table.h"
#include "schema/DataFolderSchema.h"
#include "shell/DataFolderSetup.h"
#include "shell/SchemaUpgrade.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace corvale;

namespace {

using Removed = QMap<QString, QStringList>;

// The latest layouts minus the columns and index tags a later release added.
TableLayouts olderLayouts(const Removed &removed, const Removed &removedTags = {}) {
    TableLayouts out;
    for (const TableLayout &t : allTableLayouts()) {
        TableLayout older = removed.contains(t.name) ? t.without(removed.value(t.name)) : t;
        const QStringList tags = removedTags.value(t.name);
        older.tags.removeIf([&](const TagLayout &tag) { return tags.contains(tag.name); });
        out << older;
    }
    return out;
}

// The index tags the upgrade creates.
Removed upgradedTags() {
    return {{"VENDITE", {"NUMDOC"}},
            {"FATTURE", {"NUMDOC"}},
            {"RESI", {"NUMDOC"}},
            {"CARICHI", {"NUMDOC", "NUMRAG"}}};
}

// Every column the two upgrade lists add, by table.
Removed everyUpgrade() {
    QStringList tg;
    for (int i = 16; i <= 20; ++i)
        tg << QStringLiteral("TG%1").arg(i);
    return {
        {"CONFIG",
         {"ISLOGO", "LOGO", "EURO", "CODFISC", "REGFISC", "CAPFISC", "COMUNE", "PROVINCIA",
          "NAZIONE", "FEPROG", "TRASMPAE", "TRASMCOD", "NATURA", "RIFNORMA"}},
        {"ARTICOLI", {"RICARICO", "ANNO", "STAGIONE", "INUSO"}},
        {"ELEMENTI", {"MARCHIO", "PRZVND", "LABELS"}},
        {"ARCART_A", {"MARCHIO", "PRZVND", "SCOVND", "IVA"}},
        {"ARCART_R", {"MARCHIO", "PRZVND", "SCOVND", "IVA"}},
        {"ARCART_O", {"SCOVND"}},
        {"ARCART_V", {"MARCHIO", "PRZVND", "TIPO"}},
        {"TAGLIE", QStringList{"TG15", "NUCLEODA", "NUCLEOA"} + tg}, // core sizes: size runs
        {"ARCARTTG", tg},
        {"CARICO_I", tg},
        {"VENDITE",
         {"TIPO", "SCONTO", "BARCODE", "NUMCLI", "ISBANCA", "RTNUMERO", "RTCHIUSURA", "RTDATA",
          "RTORA", "RTMATRIC", "PAGCONT", "PAGELETT", "PAGBUONO", "LOTTERIA", "CFCLIENTE", "RIFVEN",
          "RIFCAMBIO", "NFSTATO", "NFORA"}},
        {"CLIENTI",
         {"BARCODE", "DECPUNTI", "PARTIVA", "CODFISC", "CODDEST", "PEC", "PROVINCIA", "NAZIONE"}},
        {"FORNITOR",
         {"BARCODE", "DECPUNTI", "PARTIVA", "CODFISC", "CODDEST", "PEC", "PROVINCIA", "NAZIONE"}},
        {"FATTURE", {"BARCODE", "ISBANCA", "TIPODOC", "NUMRIF", "FEFILE", "FESTATO", "FENOTE"}},
        {"CARICHI", {"SCONTO", "FINDV", "ISBANCA"}},
        {"ORDINI", {"SCONTO"}},
        {"COUNTERS", {"TAG"}},
    };
}

void build(const QString &path, const TableLayouts &layouts) {
    QDir().mkpath(path);
    db::Database database;
    database.open(path);
    DataFolderSetup::createTables(database, layouts);
}

void appendRows(db::Database &database, const QString &table, int count,
                const std::function<void(db::Table &, int)> &fill = {}) {
    db::Table t(database);
    t.setTableName(table);
    t.open();
    for (int i = 0; i < count; ++i) {
        t.append();
        if (fill)
            fill(t, i);
        t.post();
    }
}

QStringList columnValues(db::Database &database, const QString &table, const QString &column) {
    db::Table t(database);
    t.setTableName(table);
    t.open();
    QStringList out;
    for (t.first(); !t.eof(); t.next())
        out << t.asString(column);
    return out;
}

bool hasColumn(db::Database &database, const QString &table, const QString &column) {
    db::Table t(database);
    t.setTableName(table);
    t.open();
    return t.hasField(column);
}

} // namespace

class TestSchemaUpgrade : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void freshDataFolder() {
        QTemporaryDir tmp;
        const QString dati = tmp.filePath(QStringLiteral("dati"));
        QVERIFY(DataFolderSetup::createIfMissing(dati, allTableLayouts()));
        db::Database database;
        database.open(dati);
        for (const TableLayout &t : allTableLayouts()) {
            QVERIFY2(database.tableExists(t.fileName()), qPrintable(t.name));
            db::Table handle(database);
            handle.setTableName(t.fileName());
            handle.open();
            QCOMPARE(handle.fieldNames().size(), t.fields.size());
            for (const TagLayout &tag : t.tags)
                QVERIFY2(handle.indexNames().contains(tag.name, Qt::CaseInsensitive),
                         qPrintable(t.name + u'.' + tag.name));
        }
        QCOMPARE(columnValues(database, QStringLiteral("CONFIG"), QStringLiteral("EURO")),
                 QStringList{QStringLiteral("1")});
        QVERIFY(!QFile::exists(dati + QStringLiteral(".new")));

        // A fresh folder is up to date: eighteen probes, no statement.
        SchemaUpgrade upgrade(database);
        QVERIFY(upgrade.runFirstList());
        QVERIFY(upgrade.runSecondList());
        QCOMPARE(upgrade.probeCount(), 18);
        QVERIFY(upgrade.executedStatements().isEmpty());
        database.close();

        // An existing folder is never made again, even with tables missing.
        QVERIFY(QFile::remove(dati + QStringLiteral("/ARTICOLI.DBF")));
        QVERIFY(!DataFolderSetup::createIfMissing(dati, allTableLayouts()));
        QVERIFY(!QFile::exists(dati + QStringLiteral("/ARTICOLI.DBF")));
        database.open(dati);
        SchemaUpgrade broken(database);
        QVERIFY(!broken.runFirstList());
        QVERIFY(broken.errorText().contains(QStringLiteral("ARTICOLI"), Qt::CaseInsensitive));
    }

    void firstListEndsAtTheSizeStep() {
        QTemporaryDir tmp;
        build(tmp.path(), olderLayouts({{"ELEMENTI", {"MARCHIO", "PRZVND", "LABELS"}},
                                        {"ARCART_A", {"MARCHIO", "PRZVND"}},
                                        {"ARCART_R", {"MARCHIO", "PRZVND"}},
                                        {"ARCART_V", {"MARCHIO", "PRZVND", "TIPO"}},
                                        {"VENDITE", {"TIPO"}}}));
        db::Database database;
        database.open(tmp.path());
        SchemaUpgrade upgrade(database);
        QVERIFY2(upgrade.runFirstList(), qPrintable(upgrade.errorText()));
        // CONFIG, ARTICOLI twice, ELEMENTI, then TAGLIE has TG15: the list ends
        // there and TIPO is not probed.
        QCOMPARE(upgrade.probeCount(), 5);
        QCOMPARE(upgrade.executedStatements().size(), 4);
        QVERIFY(upgrade.executedStatements().contains(
            QStringLiteral("ALTER TABLE \"ELEMENTI.dbf\"\nADD MARCHIO CHARACTER(20),\n"
                           "ADD PRZVND NUMERIC(15,5),\nADD LABELS NUMERIC(5,0)")));
        QVERIFY(upgrade.executedStatements().contains(
            QStringLiteral("ALTER TABLE \"ARCART_V.dbf\"\nADD MARCHIO CHARACTER(20),\n"
                           "ADD PRZVND NUMERIC(15,5)")));
        for (const char *t : {"ELEMENTI", "ARCART_A", "ARCART_R", "ARCART_V"}) {
            QVERIFY(hasColumn(database, QString::fromLatin1(t), QStringLiteral("PRZVND")));
            QVERIFY(hasColumn(database, QString::fromLatin1(t), QStringLiteral("MARCHIO")));
        }
        QVERIFY(hasColumn(database, QStringLiteral("ELEMENTI"), QStringLiteral("LABELS")));
        QVERIFY(!hasColumn(database, QStringLiteral("VENDITE"), QStringLiteral("TIPO")));
    }

    void everyStepOnTheOldestFolder() {
        QTemporaryDir tmp;
        build(tmp.path(), olderLayouts(everyUpgrade(), upgradedTags()));
        {
            db::Database database;
            database.open(tmp.path());
            appendRows(database, QStringLiteral("VENDITE"), 3);
            appendRows(database, QStringLiteral("ARCART_V"), 4);
            appendRows(database, QStringLiteral("ARTICOLI"), 2, [](db::Table &t, int i) {
                t.setString(QStringLiteral("DESCRIZION"), QStringLiteral("ART %1").arg(i));
            });
            appendRows(database, QStringLiteral("ARCART_A"), 2);
            appendRows(database, QStringLiteral("ARCART_R"), 1);
            // An empty CONFIG: the EURO step gives it its record.
            QCOMPARE(columnValues(database, QStringLiteral("CONFIG"), QStringLiteral("RAGIONE")),
                     QStringList());
        }
        db::Database database;
        database.open(tmp.path());
        SchemaUpgrade upgrade(database);
        QVERIFY2(upgrade.runFirstList(), qPrintable(upgrade.errorText()));
        QVERIFY2(upgrade.runSecondList(), qPrintable(upgrade.errorText()));
        QCOMPARE(upgrade.probeCount(), 6 + 14);

        QCOMPARE(columnValues(database, QStringLiteral("VENDITE"), QStringLiteral("TIPO")),
                 QStringList(3, QStringLiteral("True")));
        QCOMPARE(columnValues(database, QStringLiteral("ARCART_V"), QStringLiteral("TIPO")),
                 QStringList(4, QStringLiteral("True")));
        QCOMPARE(columnValues(database, QStringLiteral("ARTICOLI"), QStringLiteral("STAGIONE")),
                 QStringList(2, QStringLiteral("Quattro Stagioni")));
        QCOMPARE(columnValues(database, QStringLiteral("ARTICOLI"), QStringLiteral("INUSO")),
                 QStringList(2, QStringLiteral("True")));
        QCOMPARE(columnValues(database, QStringLiteral("ARCART_A"), QStringLiteral("IVA")),
                 QStringList(2, QStringLiteral("20")));
        QCOMPARE(columnValues(database, QStringLiteral("ARCART_R"), QStringLiteral("IVA")),
                 QStringList(1, QStringLiteral("20")));
        QCOMPARE(columnValues(database, QStringLiteral("CONFIG"), QStringLiteral("EURO")),
                 QStringList{QStringLiteral("1")});
        for (const auto &[table, column] :
             QList<std::pair<QString, QString>>{{"TAGLIE", "TG20"},
                                                {"ARCARTTG", "TG16"},
                                                {"CARICO_I", "TG20"},
                                                {"CLIENTI", "DECPUNTI"},
                                                {"FATTURE", "BARCODE"},
                                                {"COUNTERS", "TAG"},
                                                {"ARCART_O", "SCOVND"},
                                                {"TAGLIE", "NUCLEOA"}})
            QVERIFY2(hasColumn(database, table, column), qPrintable(table + u'.' + column));
        db::Table clienti(database);
        clienti.setTableName(QStringLiteral("CLIENTI"));
        clienti.open();
        QVERIFY(clienti.indexNames().contains(QStringLiteral("BARCODE"), Qt::CaseInsensitive));
        db::Table carichi(database);
        carichi.setTableName(QStringLiteral("CARICHI"));
        carichi.open();
        QVERIFY(carichi.indexNames().contains(QStringLiteral("NUMDOC"), Qt::CaseInsensitive));
        QVERIFY(carichi.indexNames().contains(QStringLiteral("NUMRAG"), Qt::CaseInsensitive));
        clienti.close();
        carichi.close();

        // The second start runs no statement.
        SchemaUpgrade again(database);
        QVERIFY(again.runFirstList());
        QVERIFY(again.runSecondList());
        QVERIFY(again.executedStatements().isEmpty());
        QCOMPARE(again.probeCount(), 18);
    }

    void addedTablesStartTheHistoryAndTheSeasons() {
        QTemporaryDir tmp;
        TableLayouts older;
        for (const TableLayout &t : allTableLayouts())
            if (!SchemaUpgrade::addedTables().contains(t.name))
                older << t;
        build(tmp.path(), older);
        db::Database database;
        database.open(tmp.path());
        appendRows(database, QStringLiteral("ARTICOLI"), 2, [](db::Table &t, int i) {
            t.setInteger(QStringLiteral("NUMREG"), 7 + i);
            t.setFloat(QStringLiteral("PREZZOVND"), 79.9);
            t.setFloat(QStringLiteral("SCONTO"), i == 0 ? 0 : 10);
            t.setString(QStringLiteral("STAGIONE"),
                        i == 0 ? QStringLiteral("Quattro Stagioni") : QStringLiteral("Cerimonia"));
        });
        // Not missing: nothing was ever written to them.
        QVERIFY(DataFolderSetup::missingRecordTables(database, allTableLayouts()).isEmpty());
        SchemaUpgrade upgrade(database);
        QVERIFY2(upgrade.runAddedTables(allTableLayouts(), QDate(2026, 5, 4)),
                 qPrintable(upgrade.errorText()));
        QVERIFY(DataFolderSetup::missingRecordTables(database, allTableLayouts()).isEmpty());
        QCOMPARE(columnValues(database, QStringLiteral("PREZZI"), QStringLiteral("ARTCODE")),
                 (QStringList{"7", "8"}));
        QCOMPARE(columnValues(database, QStringLiteral("PREZZI"), QStringLiteral("DATA")),
                 (QStringList{"04/05/2026", "04/05/2026"}));
        // The price applied: the list price less the article's own discount.
        QCOMPARE(columnValues(database, QStringLiteral("PREZZI"), QStringLiteral("PREZZO")),
                 (QStringList{"79.9", "71.91"}));
        QCOMPARE(
            columnValues(database, QStringLiteral("STAGIONI"), QStringLiteral("NOME")),
            (QStringList{"Autunno/Inverno", "Primavera/Estate", "Quattro Stagioni", "Cerimonia"}));
        // The next start finds them and writes nothing.
        SchemaUpgrade again(database);
        QVERIFY(again.runAddedTables(allTableLayouts(), QDate(2026, 5, 5)));
        QVERIFY(again.executedStatements().isEmpty());
        QCOMPARE(columnValues(database, QStringLiteral("PREZZI"), QStringLiteral("ARTCODE")).size(),
                 2);
    }

    // A folder the price release opened but the vouchers' release did not:
    // the voucher tables are no loss until they are created, then they are
    // created alone, and other dBASE programs read them.
    void voucherTablesReachAFolderOfTheReleaseBefore() {
        QTemporaryDir tmp;
        const QStringList vouchers{QStringLiteral("BUONI"), QStringLiteral("BUONIMOV")};
        QVERIFY(SchemaUpgrade::addedTableGroups().contains(vouchers));
        TableLayouts older;
        for (const TableLayout &t : allTableLayouts())
            if (!vouchers.contains(t.name))
                older << t;
        build(tmp.path(), older);
        db::Database database;
        database.open(tmp.path());
        QVERIFY(DataFolderSetup::missingRecordTables(database, allTableLayouts()).isEmpty());
        SchemaUpgrade upgrade(database);
        QVERIFY2(upgrade.runAddedTables(allTableLayouts(), QDate(2026, 5, 4)),
                 qPrintable(upgrade.errorText()));
        QCOMPARE(upgrade.executedStatements(),
                 (QStringList{QStringLiteral("CREATE TABLE \"BUONI.DBF\""),
                              QStringLiteral("CREATE TABLE \"BUONIMOV.DBF\"")}));
        // The other group is there: one of this group gone is missing.
        QVERIFY(
            DataFolderSetup::notYetAdded(QStringLiteral("BUONI"), {QStringLiteral("PREZZI.DBF")}));
        QVERIFY(!DataFolderSetup::notYetAdded(QStringLiteral("BUONI"),
                                              {QStringLiteral("BUONIMOV.DBF")}));
        QVERIFY(
            !DataFolderSetup::notYetAdded(QStringLiteral("SALDI"), {QStringLiteral("PREZZI.DBF")}));
        appendRows(database, QStringLiteral("BUONI"), 1, [](db::Table &t, int) {
            t.setInteger(QStringLiteral("NUMREG"), 1);
            t.setString(QStringLiteral("BARCODE"), QStringLiteral("2990000000019"));
            t.setFloat(QStringLiteral("IMPORTO"), 56.9);
            t.setFloat(QStringLiteral("RESIDUO"), 6.9);
            t.setDate(QStringLiteral("SCADENZA"), QDate(2027, 3, 15));
        });
        database.close();

        const QString python = QStringLiteral("/usr/bin/python3");
        QProcess probe;
        probe.start(python, {QStringLiteral("-c"), QStringLiteral("import dbfread")});
        if (!probe.waitForFinished(20000) || probe.exitCode() != 0)
            QSKIP("python3-dbfread is not installed (scripts/setup installs it)");
        const QString script = QStringLiteral(
            "import sys, dbfread\n"
            "r = list(dbfread.DBF(sys.argv[1], encoding='cp1252'))[0]\n"
            "print(r['NUMREG'], r['BARCODE'], r['IMPORTO'], r['RESIDUO'], r['SCADENZA'], "
            "sep='|')\n"
            "print(len(list(dbfread.DBF(sys.argv[2], encoding='cp1252'))))\n");
        QProcess reader;
        reader.start(python,
                     {QStringLiteral("-c"), script, tmp.filePath(QStringLiteral("BUONI.DBF")),
                      tmp.filePath(QStringLiteral("BUONIMOV.DBF"))});
        QVERIFY(reader.waitForFinished(30000));
        QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
        QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()).trimmed(),
                 QStringLiteral("1|2990000000019|56.9|6.9|2027-03-15\n0"));
    }

    void missingTableStopsAndTheNextStartCompletes() {
        QTemporaryDir tmp;
        build(tmp.path(), olderLayouts({{"ARCART_A", {"SCOVND"}},
                                        {"ARCART_R", {"SCOVND"}},
                                        {"ARCART_O", {"SCOVND"}},
                                        {"VENDITE", {"SCONTO"}}}));
        QVERIFY(QFile::remove(tmp.filePath(QStringLiteral("ARCART_R.DBF"))));
        QFile::remove(tmp.filePath(QStringLiteral("ARCART_R.MDX")));
        {
            db::Database database;
            database.open(tmp.path());
            SchemaUpgrade upgrade(database);
            QVERIFY(!upgrade.runSecondList());
            QVERIFY(upgrade.errorText().contains(QStringLiteral("ARCART_R"), Qt::CaseInsensitive));
            QCOMPARE(upgrade.probeCount(), 1); // the list stopped at its first step
            // The probe table is altered last, so its column still tells the
            // next start that the step is unfinished.
            QVERIFY(!hasColumn(database, QStringLiteral("ARCART_A"), QStringLiteral("SCOVND")));
            // The table is back (the shop restored it).
            const TableLayout *lines = findTableLayout(QStringLiteral("ARCART_R"));
            database.createTable(QStringLiteral("ARCART_R.DBF"),
                                 lines->without({QStringLiteral("SCOVND")}).fields, {});
        }
        db::Database database;
        database.open(tmp.path());
        SchemaUpgrade upgrade(database);
        QVERIFY2(upgrade.runSecondList(), qPrintable(upgrade.errorText()));
        for (const char *t : {"ARCART_A", "ARCART_R", "ARCART_O"})
            QVERIFY(hasColumn(database, QString::fromLatin1(t), QStringLiteral("SCOVND")));
        QVERIFY(hasColumn(database, QStringLiteral("VENDITE"), QStringLiteral("SCONTO")));
    }

    // The tables of a new data folder must stay readable by other dBASE tools.
    void independentReaderReadsNewTables() {
        const QString python = QStringLiteral("/usr/bin/python3");
        QProcess probe;
        probe.start(python, {QStringLiteral("-c"), QStringLiteral("import dbfread")});
        if (!probe.waitForFinished(20000) || probe.exitCode() != 0)
            QSKIP("python3-dbfread is not installed (scripts/setup installs it)");
        QTemporaryDir tmp;
        const QString dati = tmp.filePath(QStringLiteral("dati"));
        QVERIFY(DataFolderSetup::createIfMissing(dati, allTableLayouts()));
        {
            db::Database database;
            database.open(dati);
            appendRows(database, QStringLiteral("ARTICOLI"), 1, [](db::Table &t, int) {
                t.setInteger(QStringLiteral("NUMREG"), 123456789);
                t.setString(QStringLiteral("DESCRIZION"), QStringLiteral("MAGLIA è €"));
                t.setFloat(QStringLiteral("PREZZOVND"), 19.9);
                t.setBool(QStringLiteral("INUSO"), true);
                t.setDate(QStringLiteral("DATAACQ"), QDate(2026, 3, 5));
                t.setBlob(QStringLiteral("FOTO"), QByteArray("\xff\xd8\xff photo", 10));
            });
        }
        // dbfread takes the memo length as the data length alone, so it reads
        // eight bytes past the end: only the start of the blob is compared.
        const QString script = QStringLiteral(
            "import sys, dbfread\n"
            "t = dbfread.DBF(sys.argv[1], encoding='cp1252', char_decode_errors='strict')\n"
            "r = list(t)[0]\n"
            "print(r['NUMREG'], r['DESCRIZION'], r['PREZZOVND'], r['INUSO'], r['DATAACQ'],"
            " r['FOTO'][:10].encode('cp1252').hex(), sep='|')\n"
            "print(len(list(dbfread.DBF(sys.argv[2], encoding='cp1252'))))\n");
        QProcess reader;
        reader.start(python, {QStringLiteral("-c"), script, dati + QStringLiteral("/ARTICOLI.DBF"),
                              dati + QStringLiteral("/CONFIG.DBF")});
        QVERIFY(reader.waitForFinished(30000));
        QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
        const QStringList lines =
            QString::fromUtf8(reader.readAllStandardOutput()).trimmed().split(u'\n');
        QCOMPARE(lines.value(0),
                 QStringLiteral("123456789|MAGLIA è €|19.9|True|2026-03-05|ffd8ff2070686f746f00"));
        QCOMPARE(lines.value(1), QStringLiteral("1"));
    }

    void statementText() {
        QCOMPARE(SchemaUpgrade::alterStatement(
                     QStringLiteral("CONFIG.dbf"),
                     {QStringLiteral("ISLOGO BOOLEAN"), QStringLiteral("LOGO BLOB(10000)")}),
                 QStringLiteral("ALTER TABLE \"CONFIG.dbf\"\nADD ISLOGO BOOLEAN,\n"
                                "ADD LOGO BLOB(10000)"));
        QCOMPARE(SchemaUpgrade::createIndexStatement(QStringLiteral("BARCODE"),
                                                     QStringLiteral("CLIENTI.dbf"),
                                                     QStringLiteral("BARCODE")),
                 QStringLiteral("CREATE INDEX BARCODE ON \"CLIENTI.dbf\" (BARCODE)"));
    }
};

QTEST_GUILESS_MAIN(TestSchemaUpgrade)
#include "tst_schemaupgrade.moc"
