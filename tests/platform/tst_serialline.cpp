#include "platform/IniFile.h"
#include "platform/PtyPair.h"
#include "platform/SerialLine.h"

#include <QTemporaryDir>
#include <QTest>

using corvale::IniFile;
using corvale::PtyPair;
using corvale::SerialLine;

class TestSerialLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void namesThePortFromTheSettings() {
#ifdef Q_OS_WIN
        QCOMPARE(SerialLine::portName(QStringLiteral("1")), QStringLiteral("COM1"));
#else
        QCOMPARE(SerialLine::portName(QStringLiteral("1")), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(SerialLine::portName(QStringLiteral(" 8 ")), QStringLiteral("/dev/ttyS7"));
#endif
        QCOMPARE(SerialLine::portName(QStringLiteral("0")), QStringLiteral("0"));

        QTemporaryDir dir;
        IniFile ini(dir.filePath(QStringLiteral("Dati.ini")));
        QCOMPARE(SerialLine::registerDevice(ini), SerialLine::portName(QStringLiteral("1")));
        QVERIFY(ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("SERIALE"),
                                QStringLiteral("3")));
        QCOMPARE(SerialLine::registerDevice(ini), SerialLine::portName(QStringLiteral("3")));
        QVERIFY(ini.writeString(QStringLiteral("regcassa"), QStringLiteral("device"),
                                QStringLiteral("/dev/ttyUSB0")));
        QCOMPARE(SerialLine::registerDevice(ini), QStringLiteral("/dev/ttyUSB0"));
    }

    void refusesMissingDeviceAndClosedPort() {
        SerialLine line;
        QVERIFY(!line.open(QStringLiteral("/dev/corvale-no-such-port")));
        QVERIFY(!line.errorString().isEmpty());
        QVERIFY(!line.isOpen());
        QVERIFY(!line.write("x"));
        QCOMPARE(line.inputCount(), -1);
        QVERIFY(!line.setQueueSizes(500, 1000));
    }

    void carriesBytesBothWaysOnAPseudoTerminal() {
#ifndef Q_OS_UNIX
        QSKIP("pseudo-terminali solo su Unix");
#endif
        PtyPair pty;
        QVERIFY2(pty.open(), qPrintable(pty.errorString()));
        SerialLine line;
        QVERIFY2(line.open(pty.devicePath()), qPrintable(line.errorString()));
        QVERIFY(line.setQueueSizes(500, 1000));
        QVERIFY(line.setLineSettings({9600, 8, SerialLine::Parity::None}));
        QVERIFY(line.warnings().isEmpty());

        const QByteArray frame("\x02"
                               "0012V121700"
                               "61\x03",
                               14);
        QVERIFY(line.write(frame));
        QByteArray got;
        QTRY_VERIFY((got += pty.readAvailable()).size() >= frame.size());
        QCOMPARE(got, frame);

        QCOMPARE(line.inputCount(), 0);
        QCOMPARE(pty.write("\x06\x02OK\x03"), 5);
        QTRY_COMPARE(line.inputCount(), 5);
        QCOMPARE(line.read(5), QByteArray("\x06\x02OK\x03"));
        QCOMPARE(line.inputCount(), 0);
    }

    void refusedLineSettingsAreOnlyWarnings() {
        // A pseudo-terminal refuses 7 data bits and parity; the register code
        // must still be able to talk through it.
#ifndef Q_OS_UNIX
        QSKIP("pseudo-terminali solo su Unix");
#endif
        PtyPair pty;
        QVERIFY(pty.open());
        SerialLine line;
        QVERIFY(line.open(pty.devicePath()));
        QVERIFY(line.setLineSettings({2400, 7, SerialLine::Parity::Even}));
        QVERIFY(!line.hasFailed());
        QVERIFY(line.write("A"));
        QByteArray got;
        QTRY_COMPARE(got += pty.readAvailable(), QByteArray("A"));
    }

    void inputQueueHoldsAtMostItsSize() {
#ifndef Q_OS_UNIX
        QSKIP("pseudo-terminali solo su Unix");
#endif
        PtyPair pty;
        QVERIFY(pty.open());
        SerialLine line;
        QVERIFY(line.open(pty.devicePath()));
        QVERIFY(line.setQueueSizes(500, 1000));
        const QByteArray block(800, 'z');
        QCOMPARE(pty.write(block), 800);
        QTRY_COMPARE(line.inputCount(), 500);
        QCOMPARE(line.read(500).size(), 500);
        QTRY_COMPARE(line.inputCount(), 300);

        // The output queue bounds one write.
        QVERIFY(!line.write(QByteArray(1001, 'a')));
        QVERIFY(line.write(QByteArray(10, 'a')));
    }

    void farEndGoneIsAFailureNotSilence() {
#ifndef Q_OS_UNIX
        QSKIP("pseudo-terminali solo su Unix");
#endif
        PtyPair pty;
        QVERIFY(pty.open());
        SerialLine line;
        QVERIFY(line.open(pty.devicePath()));
        QVERIFY(line.setQueueSizes(500, 1000));
        pty.closeMaster();
        QTRY_VERIFY(line.hasFailed());
        QCOMPARE(line.inputCount(), -1);
        QVERIFY(!line.write("x"));
        line.close();
        QVERIFY(!line.isOpen());
    }

    // Windows: a real COM port whose far end sends back every byte (a loopback plug).
    // Under Wine the test runner plays the plug on a pseudo-terminal mapped to the port
    // named by CORVALE_TEST_COMPORT.
    void comPortCarriesBytesBothWaysThroughWin32() {
#ifndef Q_OS_WIN
        QSKIP("porta COM di Windows");
#endif
        const QString port = qEnvironmentVariable("CORVALE_TEST_COMPORT");
        if (port.isEmpty())
            QFAIL("CORVALE_TEST_COMPORT non indicata: la prova della porta Win32 manca");
        SerialLine line;
        QVERIFY2(line.open(port), qPrintable(line.errorString()));
        // (The port is opened without sharing; Wine does not enforce that on its ports.)

        QVERIFY(line.setQueueSizes(16, 40));
        QVERIFY(line.setLineSettings({9600, 8, SerialLine::Parity::None}));
        QVERIFY2(line.warnings().isEmpty(), qPrintable(line.warnings().join('\n')));
        QCOMPARE(line.inputCount(), 0);

        const QByteArray frame("\x02"
                               "0012V121700"
                               "61\x03",
                               14);
        QVERIFY(line.write(frame));
        QTRY_COMPARE(line.inputCount(), frame.size());
        QCOMPARE(line.read(100), frame);
        QCOMPARE(line.inputCount(), 0);

        // The input queue holds at most its size; the rest waits in the driver.
        const QByteArray block = QByteArray("0123456789").repeated(4);
        QVERIFY(line.write(block));
        QTRY_COMPARE(line.inputCount(), 16);
        QByteArray got = line.read(100);
        QCOMPARE(got.size(), 16);
        QTRY_VERIFY((got += line.read(100)).size() >= block.size());
        QCOMPARE(got, block);

        // The output queue bounds one write.
        QVERIFY(!line.write(QByteArray(41, 'a')));
        QCOMPARE(line.errorString(), QStringLiteral("output queue full"));
        QVERIFY(!line.hasFailed());
        line.close();
        QVERIFY(!line.isOpen());
        QCOMPARE(line.inputCount(), -1);
        QVERIFY(line.open(port));
    }
};

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serialline.moc"
