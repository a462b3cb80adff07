#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// corvale-dbf as support staff and other tools use it.
class ToolTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    struct Run {
        int status = -1;
        QString out;
        QString err;
    };

    Run run(const QStringList &arguments, const QByteArray &input = {}) {
        QProcess process;
        process.start(QStringLiteral(CORVALE_BINARY_DIR "/tools/dbf/corvale-dbf"), arguments);
        process.write(input);
        process.closeWriteChannel();
        process.waitForFinished(60000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QString file(const char *name) const {
        return m_dir.path() + QLatin1Char('/') + QLatin1String(name);
    }

private slots:
    void createAppendDumpRoundTrip() {
        Run r = run({"create", file("ART.DBF"), "NUMREG:N:10", "DESCRIZION:C:30", "PREZZO:N:10:2",
                     "INUSO:L:1", "DATA:D:8", "NOTE:M:10", "--tag", "DESCRIZION"});
        QCOMPARE(r.status, 0);
        const QByteArray csv = "NUMREG,DESCRIZION,PREZZO,INUSO,DATA,NOTE\r\n"
                               "3,\"MAGLIA, \"\"ROSSA\"\"\",12.50,T,2024-03-01,\"due\r\nrighe\"\r\n"
                               "1,PERCHÉ €,-0.05,F,,\r\n"
                               "2,,0.00,,1999-12-31,blob:AAEC\r\n";
        r = run({"append", file("ART.DBF")}, csv);
        QVERIFY2(r.status == 0, qPrintable(r.err));
        r = run({"dump", file("ART.DBF")});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.toUtf8(), csv);
        r = run({"dump", file("ART.DBF"), "--tag", "DESCRIZION", "--range", "M", "Mz"});
        QCOMPARE(r.out.split("\r\n").size(), 4); // header, one row with a line break inside, end
        r = run({"dump", file("art.dbf"), "--filter", "INUSO"});
        QVERIFY(r.out.contains("ROSSA") && !r.out.contains("PERCH"));
        r = run({"info", file("ART.DBF")});
        QCOMPARE(r.status, 0);
        for (const char *line : {"Versione: 0x8b", "Driver di lingua: 0x57", "Record: 3",
                                 "PREZZO N 10 2", "Indici: DESCRIZION"})
            QVERIFY2(r.out.contains(QLatin1String(line)), line);
        r = run({"check", file("ART.DBF")});
        QCOMPARE(r.status, 0);
    }

    void errorsAreItalianWithStatusOne() {
        Run r = run({"dump", file("NOPE.DBF")});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("non esiste"));
        r = run({"append", file("ART.DBF")}, "NUMREG,NOPE\r\n1,2\r\n");
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("NOPE"));
        r = run({"append", file("ART.DBF")}, "NUMREG\r\n12345678901\r\n");
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("non entra"));
        r = run({"dump", file("ART.DBF"), "--filter", "INUSO AND"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("Filtro non valido"));
        r = run({"frobnicate"});
        QCOMPARE(r.status, 1);
    }

    void checkReindexPackAndSql() {
        QVERIFY(run({"create", file("L.DBF"), "NUMCAR:N:5", "COLORE:C:10", "--tag", "NUMCAR",
                     "--tag", "COLNUM=COLORE+STR(NUMCAR,5)"})
                    .status == 0);
        QVERIFY(run({"append", file("L.DBF")}, "NUMCAR,COLORE\n2,BLU\n1,ROSSO\n2,NERO\n").status ==
                0);
        // Damage the index behind the engine's back: check sees it, reindex mends it.
        QFile mdx(file("L.MDX"));
        QVERIFY(mdx.open(QIODevice::ReadWrite));
        mdx.resize(mdx.size() - 1024);
        mdx.close();
        Run r = run({"check", file("L.DBF")});
        QCOMPARE(r.status, 1);
        QVERIFY(!r.out.isEmpty());
        QCOMPARE(run({"reindex", file("L.DBF")}).status, 0);
        QCOMPARE(run({"check", file("L.DBF")}).status, 0);
        r = run(
            {"sql", m_dir.path(), "select * from L where NUMCAR = :N Order by L.COLORE", "N=2"});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out, QStringLiteral("NUMCAR,COLORE\r\n2,BLU\r\n2,NERO\r\n"));
        QCOMPARE(run({"dump", file("L.DBF"), "--tag", "COLNUM"}).out,
                 QStringLiteral("NUMCAR,COLORE\r\n2,BLU\r\n2,NERO\r\n1,ROSSO\r\n"));
        QCOMPARE(run({"sql", m_dir.path(), "ALTER TABLE \"l.dbf\" ADD NOTA CHARACTER(4)"}).status,
                 0);
        QVERIFY(run({"dump", file("L.DBF")}).out.startsWith("NUMCAR,COLORE,NOTA\r\n"));
        r = run({"sql", m_dir.path(), "DROP TABLE L"});
        QCOMPARE(r.status, 1);
        QVERIFY(r.err.contains("istruzione sconosciuta"));
        QCOMPARE(run({"pack", file("L.DBF")}).status, 0);
        QCOMPARE(run({"check", file("L.DBF")}).status, 0);
    }
};

QTEST_GUILESS_MAIN(ToolTest)
#include "tst_tool.moc"
