#include "platform/Formats.h"

#include <QTest>

using corvale::Formats;

class TestFormats : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void printfPatterns_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("n 12.5") << "%10.2n" << 12.5 << -1 << "     12,50";
        QTest::newRow("n thousands") << "%10.2n" << 1234.5 << -1 << "  1.234,50";
        QTest::newRow("n millions") << "%10.2n" << -1234567.891 << -1 << "-1.234.567,89";
        QTest::newRow("n zero") << "%10.2n" << 0.0 << -1 << "      0,00";
        QTest::newRow("n no decimals") << "%10.0n" << 12345.5 << -1 << "    12.346";
        QTest::newRow("n star 2") << "%8.*n" << 2.5 << 2 << "    2,50";
        QTest::newRow("n star 0") << "%8.*n" << 3.0 << 0 << "       3";
        QTest::newRow("f fixed") << "%10.2f" << 39.8 << -1 << "     39,80";
        QTest::newRow("f no thousands") << "%10.2f" << 1234.5 << -1 << "   1234,50";
        QTest::newRow("f 7.2") << "%7.2f" << 24.0 << -1 << "  24,00";
        QTest::newRow("f 13 star") << "%13.*f" << 87.499999 << 2 << "        87,50";
        QTest::newRow("f 8.2") << "%8.2f" << 19.9 << -1 << "   19,90";
        QTest::newRow("f negative") << "%7.2f" << -0.5 << -1 << "  -0,50";
        QTest::newRow("f negative zero") << "%7.2f" << -0.001 << -1 << "   0,00";
        QTest::newRow("half away 2.675") << "%7.2f" << 2.675 << -1 << "   2,68";
        QTest::newRow("half away 1.005") << "%7.2f" << 1.005 << -1 << "   1,01";
        QTest::newRow("half away 0.125") << "%7.2f" << 0.125 << -1 << "   0,13";
        QTest::newRow("half away negative") << "%7.2f" << -0.125 << -1 << "  -0,13";
        QTest::newRow("carry") << "%7.2f" << 9.999 << -1 << "  10,00";
        QTest::newRow("tiny") << "%7.2f" << 0.004 << -1 << "   0,00";
        QTest::newRow("overflow width") << "%4.0f" << 123456.0 << -1 << "123456";
        QTest::newRow("9.0f") << "%9.0f" << 1990.0 << -1 << "     1990";
    }
    void printfPatterns() {
        QFETCH(QString, pattern);
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(Formats::format(pattern, value, decimals), expected);
    }

    void zeroFilled() {
        QCOMPARE(Formats::formatZeroFilled(u"%7.0f", 2 * 1000.0), QStringLiteral("0002000"));
        QCOMPARE(Formats::formatZeroFilled(u"%9.0f", 19.90 * 100), QStringLiteral("000001990"));
        QCOMPARE(Formats::formatZeroFilled(u"%9.0f", 0.0), QStringLiteral("000000000"));
        QCOMPARE(Formats::formatZeroFilled(u"%4.0f", 10 * 100.0), QStringLiteral("1000"));
        QCOMPARE(Formats::formatZeroFilled(u"%8.0f", 1234.50 * 100), QStringLiteral("00123450"));
        // The blanks only; a sign stays where it was.
        QCOMPARE(Formats::formatZeroFilled(u"%5.0f", -12.0), QStringLiteral("00-12"));
    }

    void displayPatterns_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow(",0.00") << ",0.00" << 1234.5 << "1.234,50";
        QTest::newRow(",0.00 zero") << ",0.00" << 0.0 << "0,00";
        QTest::newRow(",0.00 negative") << ",0.00" << -87.5 << "-87,50";
        QTest::newRow(",0.00# short") << ",0.00#" << 2.5 << "2,50";
        QTest::newRow(",0.00# long") << ",0.00#" << 1.2345 << "1,235";
        QTest::newRow(",# thousands") << ",#" << 1234567.0 << "1.234.567";
        QTest::newRow(",# zero") << ",#" << 0.0 << "";
        QTest::newRow("# zero") << "#" << 0.0 << "";
        QTest::newRow("# rounds") << "#" << 2.5 << "3";
        QTest::newRow("#.## half") << "#.##" << 0.5 << ",5";
        QTest::newRow("#.## whole") << "#.##" << 3.0 << "3";
        QTest::newRow(",#.##") << ",#.##" << 1234.567 << "1.234,57";
        QTest::newRow(",0") << ",0" << 0.0 << "0";
        QTest::newRow(",0 big") << ",0" << 25000.4 << "25.000";
    }
    void displayPatterns() {
        QFETCH(QString, pattern);
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(Formats::display(pattern, value), expected);
    }

    void parsesTypedNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "39,80" << true << 39.8;
        QTest::newRow("thousands and comma") << "1.234,50" << true << 1234.5;
        QTest::newRow("thousands only") << "1.234" << true << 1234.0;
        QTest::newRow("groups") << "12.345.678" << true << 12345678.0;
        QTest::newRow("dot decimal") << "19.90" << true << 19.9;
        QTest::newRow("blanks and sign") << "  -5 " << true << -5.0;
        QTest::newRow("leading comma") << ",5" << true << 0.5;
        QTest::newRow("trailing comma") << "5," << true << 5.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("bad groups") << "1.23,4" << false << 0.0;
        QTest::newRow("two commas") << "1,2,3" << false << 0.0;
        QTest::newRow("sign only") << "-" << false << 0.0;
        QTest::newRow("inner blank") << "1 000" << false << 0.0;
    }
    void parsesTypedNumbers() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        const auto v = Formats::parseNumber(text);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QCOMPARE(*v, value);
    }

    void datesAndIntegers() {
        QCOMPARE(Formats::parseDate(u"05/03/1999"), std::optional<QDate>(QDate(1999, 3, 5)));
        QCOMPARE(Formats::parseDate(u"5/3/05"), std::optional<QDate>(QDate(2005, 3, 5)));
        QVERIFY(!Formats::parseDate(u"31/02/2005"));
        QVERIFY(!Formats::parseDate(u"2005-02-01"));
        QVERIFY(!Formats::parseDate(u""));
        QCOMPARE(Formats::formatDate(QDate(2026, 1, 2)), QStringLiteral("02/01/2026"));
        QCOMPARE(Formats::formatDate(QDate()), QString());
        QCOMPARE(Formats::parseInteger(u" 9 "), std::optional<qint64>(9));
        QVERIFY(!Formats::parseInteger(u"abc"));
    }

    void rounding() {
        QCOMPARE(Formats::roundHalfEven(2.5), 2);
        QCOMPARE(Formats::roundHalfEven(3.5), 4);
        QCOMPARE(Formats::roundHalfEven(-2.5), -2);
        QCOMPARE(Formats::roundHalfEven(2.4999), 2);
        QCOMPARE(Formats::roundDecimal(87.505, 2), 87.51);
        QCOMPARE(Formats::roundDecimal(-0.125, 2), -0.13);
        QCOMPARE(Formats::roundDecimal(19.9 * 3, 2), 59.7);
        QCOMPARE(Formats::trimLeading(u"   12,50 "), QStringLiteral("12,50 "));
        QCOMPARE(Formats::trimLeading(u"    "), QString());
    }
};

QTEST_APPLESS_MAIN(TestFormats)
#include "tst_formats.moc"
