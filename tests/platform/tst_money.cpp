#include "platform/Money.h"

#include <QTest>

#include <limits>

using corvale::Money;

class TestMoney : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void takenToTheCent_data() {
        QTest::addColumn<double>("amount");
        QTest::addColumn<qint64>("cents");
        QTest::newRow("returned receipts") << 3 * 19.90 - 59.70 << qint64(0);
        QTest::newRow("three receipts") << 19.90 + 19.90 + 19.90 << qint64(5970);
        QTest::newRow("0.1 + 0.2") << 0.1 + 0.2 << qint64(30);
        QTest::newRow("half 2.675") << 2.675 << qint64(268);
        QTest::newRow("half 1.005") << 1.005 << qint64(101);
        QTest::newRow("half 0.125") << 0.125 << qint64(13);
        QTest::newRow("half negative") << -0.125 << qint64(-13);
        QTest::newRow("half negative 2.675") << -2.675 << qint64(-268);
        QTest::newRow("below half") << 29.9949 << qint64(2999);
        QTest::newRow("above half") << 29.9951 << qint64(3000);
        QTest::newRow("discounted") << 33.33 * 0.9 << qint64(3000);
        QTest::newRow("large") << 12345678.905 << qint64(1234567891);
        QTest::newRow("large negative") << -98765432.1 << qint64(-9876543210);
        QTest::newRow("noise below zero") << -7.105427357601e-15 << qint64(0);
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << qint64(0);
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << qint64(0);
    }
    void takenToTheCent() {
        QFETCH(double, amount);
        QFETCH(qint64, cents);
        QCOMPARE(Money::of(amount).cents(), cents);
        QCOMPARE(corvale::roundToCents(amount), double(cents) / 100);
    }

    void comparesByTheCent() {
        QVERIFY(Money::of(3 * 19.90) == Money::of(59.70));
        QVERIFY(Money::of(3 * 19.90 - 59.70).isZero());
        QVERIFY(Money::of(0.1 + 0.2) == Money::fromCents(30));
        QVERIFY(Money::of(10.005) > Money::of(10));
        QVERIFY(Money::of(-0.01) < Money());
        Money sum;
        for (int i = 0; i < 10; ++i)
            sum += Money::of(0.1);
        QCOMPARE(sum, Money::fromCents(100));
        sum -= Money::of(0.4);
        QCOMPARE((-sum).cents(), qint64(-60));
        QCOMPARE((sum + Money::of(1) - Money::of(0.6)).toDouble(), 1.0);
    }

    void exportText_data() {
        QTest::addColumn<qint64>("cents");
        QTest::addColumn<QString>("asNeeded");
        QTest::addColumn<QString>("always");
        QTest::newRow("zero") << qint64(0) << "0"
                              << "0,00";
        QTest::newRow("whole") << qint64(1200) << "12"
                               << "12,00";
        QTest::newRow("tenths") << qint64(5970) << "59,7"
                                << "59,70";
        QTest::newRow("cents") << qint64(1999) << "19,99"
                               << "19,99";
        QTest::newRow("one cent") << qint64(1) << "0,01"
                                  << "0,01";
        QTest::newRow("negative cents") << qint64(-5) << "-0,05"
                                        << "-0,05";
        QTest::newRow("negative") << qint64(-123450) << "-1234,5"
                                  << "-1234,50";
        QTest::newRow("no thousands, no exponent") << qint64(123456789012345) << "1234567890123,45"
                                                   << "1234567890123,45";
    }
    void exportText() {
        QFETCH(qint64, cents);
        QFETCH(QString, asNeeded);
        QFETCH(QString, always);
        QCOMPARE(Money::fromCents(cents).exportText(), asNeeded);
        QCOMPARE(Money::fromCents(cents).exportText(Money::Cents::Always), always);
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
