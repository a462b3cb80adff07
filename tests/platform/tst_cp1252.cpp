#include "platform/Cp1252.h"

#include <QTest>

using corvale::Cp1252;

class TestCp1252 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyByteRoundTrips() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = Cp1252::decode(all);
        QCOMPARE(text.size(), 256);
        bool lossy = true;
        QCOMPARE(Cp1252::encode(text, &lossy), all);
        QVERIFY(!lossy);
    }

    void highRangeMapsToWindowsCharacters_data() {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("codePoint");
        QTest::newRow("euro") << 0x80 << 0x20AC;
        QTest::newRow("low quote") << 0x82 << 0x201A;
        QTest::newRow("ellipsis") << 0x85 << 0x2026;
        QTest::newRow("S caron") << 0x8A << 0x0160;
        QTest::newRow("en dash") << 0x96 << 0x2013;
        QTest::newRow("trade mark") << 0x99 << 0x2122;
        QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
        QTest::newRow("undefined 81") << 0x81 << 0x0081;
        QTest::newRow("nbsp") << 0xA0 << 0x00A0;
        QTest::newRow("e grave") << 0xE8 << 0x00E8;
        QTest::newRow("degree") << 0xB0 << 0x00B0;
    }
    void highRangeMapsToWindowsCharacters() {
        QFETCH(int, byte);
        QFETCH(int, codePoint);
        QCOMPARE(int(Cp1252::decodeByte(uchar(byte)).unicode()), codePoint);
        QCOMPARE(Cp1252::encodeChar(char16_t(codePoint)), byte);
    }

    void unmappableCharactersBecomeQuestionMarks() {
        bool lossy = false;
        const QByteArray out = Cp1252::encode(u"Città € \u4E2D x \U0001F600!", &lossy);
        QVERIFY(lossy);
        QCOMPARE(out, QByteArray("Citt\xE0 \x80 ? x ?!"));
        QCOMPARE(Cp1252::encodeChar(0x4E2D), -1);

        lossy = true;
        Cp1252::encode(u"MAGLIA è però", &lossy);
        QVERIFY(!lossy);
    }
};

QTEST_APPLESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
