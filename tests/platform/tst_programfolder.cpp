#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/Jpeg.h"
#include "platform/ProgramFolder.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace corvale;

class TestProgramFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void homeFromArguments() {
        QCOMPARE(ProgramFolder::fromArguments({"corvale", "--home=/a/b"}, "/exe"),
                 QStringLiteral("/a/b"));
        QCOMPARE(
            ProgramFolder::fromArguments({"corvale", "--today=2026-01-02", "--home", "/c"}, "/exe"),
            QStringLiteral("/c"));
        QCOMPARE(ProgramFolder::fromArguments({"corvale"}, "/exe"), QStringLiteral("/exe"));
    }

    void prepareCreatesFoldersAndPictures() {
        QTemporaryDir tmp;
        const ProgramFolder folder(tmp.filePath(QStringLiteral("negozio")));
        QString error;
        QVERIFY2(folder.prepare(&error), qPrintable(error));
        QVERIFY(QFile::exists(folder.archivePath()));
        QVERIFY(!QImage(folder.file(QStringLiteral("top.BMP"))).isNull());
        QVERIFY(!QImage(folder.file(QStringLiteral("bkgd.BMP"))).isNull());
        QFile clear(folder.file(QStringLiteral("clear.jpg")));
        QVERIFY(clear.open(QIODevice::ReadOnly));
        QVERIFY(!Jpeg::decode(clear.readAll()).isNull());
        // A picture the shop replaced is never overwritten.
        QImage own(10, 10, QImage::Format_RGB32);
        own.fill(Qt::green);
        QVERIFY(own.save(folder.file(QStringLiteral("top.BMP")), "BMP"));
        QVERIFY(folder.prepare());
        QCOMPARE(QImage(folder.file(QStringLiteral("top.BMP"))).size(), QSize(10, 10));
        QCOMPARE(folder.dataPath(), tmp.filePath(QStringLiteral("negozio/dati")));
    }

    void filesFoundWithoutRegardToCase() {
        QTemporaryDir tmp;
        const ProgramFolder folder(tmp.path());
        QFile f(tmp.filePath(QStringLiteral("DATI.INI")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[GENERALI]\r\nNUMCOPIE=2\r\n");
        f.close();
        // Windows' file names ignore case anyway; elsewhere the file on disk is found.
#ifdef Q_OS_WIN
        QCOMPARE(folder.iniPath().toUpper(), tmp.filePath(QStringLiteral("DATI.INI")).toUpper());
#else
        QCOMPARE(folder.iniPath(), tmp.filePath(QStringLiteral("DATI.INI")));
#endif
        QCOMPARE(IniFile(folder.iniPath())
                     .readInteger(QStringLiteral("GENERALI"), QStringLiteral("NUMCOPIE"), 1),
                 2);
        QCOMPARE(folder.file(QStringLiteral("none.txt")), tmp.filePath(QStringLiteral("none.txt")));
    }

    void clockCanBeFixed() {
        Clock clock(QDate(2026, 1, 2));
        QCOMPARE(clock.today(), QDate(2026, 1, 2));
        QCOMPARE(clock.now().date(), QDate(2026, 1, 2));
        clock.clearFixedDate();
        QCOMPARE(clock.today(), QDate::currentDate());
    }
};

QTEST_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
