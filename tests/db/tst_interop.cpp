#include "db/Database.h"
#include "db/Table.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace corvale::db;

// Tables written by the engine read back by independent readers, and the other way
// round. Each check is skipped with a message when its reader is not installed.
class InteropTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_db;

    QString run(const QString &program, const QStringList &arguments, bool *ok) {
        QProcess process;
        process.start(program, arguments);
        *ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
              process.exitCode() == 0;
        return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    }

    QString python() {
        for (const QString &candidate :
             {QStringLiteral("/usr/bin/python3"),
              QStandardPaths::findExecutable(QStringLiteral("python3"))}) {
            if (candidate.isEmpty())
                continue;
            bool ok = false;
            run(candidate, {"-c", "import dbfread"}, &ok);
            if (ok)
                return candidate;
        }
        return {};
    }

private slots:
    void initTestCase() {
        m_db = std::make_unique<Database>();
        m_db->open(m_dir.path());
        m_db->createTable("ARTICOLI.DBF",
                          {FieldDef::number("NUMREG", 10), FieldDef::text("DESCRIZION", 30),
                           FieldDef::number("PREZZOVND", 12, 2), FieldDef::logical("INUSO"),
                           FieldDef::date("DATAACQ"), FieldDef::memo("NOTE")},
                          {"NUMREG", "DESCRIZION"});
        Table t(*m_db);
        t.setTableName("ARTICOLI");
        t.open();
        const QList<std::tuple<int, QString, double, bool, QDate, QString>> rows = {
            {1, QStringLiteral("MAGLIA € PERCHÉ"), 12.5, true, QDate(2024, 2, 29),
             QStringLiteral("nota\r\nsu due righe")},
            {2, QStringLiteral("SCARPA"), -0.01, false, QDate(), QString()},
            {1234567890, QStringLiteral("L'ABITO"), 999999999.99, true, QDate(1999, 12, 31),
             QStringLiteral("x")}};
        for (const auto &[numreg, description, price, inUse, date, note] : rows) {
            t.append();
            t.setInteger("NUMREG", numreg);
            t.setString("DESCRIZION", description);
            t.setFloat("PREZZOVND", price);
            t.setBool("INUSO", inUse);
            t.setDate("DATAACQ", date);
            t.setString("NOTE", note);
            t.post();
        }
        t.first();
        t.next();
        t.remove(); // deleted records must stay hidden for every reader
        t.append();
        t.setInteger("NUMREG", 4);
        t.post();
        t.close();
    }

    void dbfreadReadsWhatTheEngineWrote() {
        const QString py = python();
        if (py.isEmpty())
            QSKIP("python3-dbfread non installato");
        const QString script =
            QStringLiteral("import dbfread,sys\n"
                           "for r in dbfread.DBF(sys.argv[1], encoding='cp1252'):\n"
                           "    note = (r['NOTE'] or '').rstrip('\\x00')\n"
                           "    print('|'.join([str(r['NUMREG']), r['DESCRIZION'], "
                           "repr(r['PREZZOVND']), str(r['INUSO']),"
                           " str(r['DATAACQ']), repr(note)]))\n");
        bool ok = false;
        const QString out = run(py, {"-c", script, m_dir.path() + "/ARTICOLI.DBF"}, &ok);
        QVERIFY2(ok, qPrintable(out));
        QCOMPARE(out.trimmed().split(QLatin1Char('\n')),
                 QStringList({"1|MAGLIA € PERCHÉ|12.5|True|2024-02-29|'nota\\r\\nsu due righe'",
                              "1234567890|L'ABITO|999999999.99|True|1999-12-31|'x'",
                              "4||None|None|None|''"}));
    }

    void ogrinfoReadsWhatTheEngineWrote() {
        if (QStandardPaths::findExecutable("ogrinfo").isEmpty())
            QSKIP("gdal-bin non installato");
        bool ok = false;
        const QString out =
            run("ogrinfo", {"-al", "-q", "-oo", "ENCODING=CP1252", m_dir.path() + "/ARTICOLI.DBF"},
                &ok);
        QVERIFY2(ok, qPrintable(out));
        for (const char *expected :
             {"NUMREG (Integer64) = 1234567890", "DESCRIZION (String) = MAGLIA € PERCHÉ",
              "PREZZOVND (Real) = 12.50", "PREZZOVND (Real) = 999999999.99",
              "DATAACQ (Date) = 2024/02/29", "DESCRIZION (String) = L'ABITO"})
            QVERIFY2(out.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!out.contains("SCARPA"));
        QCOMPARE(out.count("OGRFeature"), 3);
    }

    void theEngineReadsWhatGdalWrote() {
        if (QStandardPaths::findExecutable("ogr2ogr").isEmpty())
            QSKIP("gdal-bin non installato");
        QTemporaryDir dir;
        QFile csv(dir.path() + "/in.csv");
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write(QStringLiteral(
                      "NOME,QTA,PREZZO,DATA\nMaglia perché,3,12.5,2024-03-01\nÀbito,-2,0.25,\n")
                      .toUtf8());
        csv.close();
        bool ok = false;
        const QString out =
            run("ogr2ogr",
                {"-f", "ESRI Shapefile", "-lco", "ENCODING=CP1252", "-oo", "AUTODETECT_TYPE=YES",
                 dir.path() + "/gdal.dbf", dir.path() + "/in.csv"},
                &ok);
        QVERIFY2(ok, qPrintable(out));
        Database db;
        db.open(dir.path());
        Table t(db);
        t.setTableName("GDAL.DBF");
        t.open();
        QCOMPARE(t.asString("NOME"), QStringLiteral("Maglia perché"));
        QCOMPARE(t.asInteger("QTA"), 3);
        QCOMPARE(t.asFloat("PREZZO"), 12.5);
        QCOMPARE(t.asDate("DATA"), QDate(2024, 3, 1));
        t.next();
        QCOMPARE(t.asString("NOME"), QStringLiteral("Àbito"));
        QCOMPARE(t.asInteger("QTA"), -2);
        QCOMPARE(t.asFloat("PREZZO"), 0.25);
        QVERIFY(t.isNull("DATA"));
        t.next();
        QVERIFY(t.eof());
    }
};

QTEST_GUILESS_MAIN(InteropTest)
#include "tst_interop.moc"
