#include "common/ShopFixture.h"

#include "catalogue/FilterConditions.h"
#include "db/Error.h"

#include <QTest>

using namespace corvale;

class TestFilterConditions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void oneCondition_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("equals") << "equals"
                                << "4"
                                << "(N_MARCHI = '4')";
        QTest::newRow("equals quotes") << "equals"
                                       << "L'ORO"
                                       << "(N_MARCHI = 'L''ORO')";
        QTest::newRow("equals empty") << "equals"
                                      << ""
                                      << "";
        QTest::newRow("equals blank is a value") << "equals"
                                                 << " "
                                                 << "(N_MARCHI = ' ')";
        QTest::newRow("starts with") << "startsWith"
                                     << "MA"
                                     << "((N_MARCHI >= 'MA') AND (N_MARCHI <= 'MAz'))";
        QTest::newRow("starts with quotes") << "startsWith"
                                            << "D'"
                                            << "((N_MARCHI >= 'D''') AND (N_MARCHI <= 'D''z'))";
        QTest::newRow("starts with empty") << "startsWith"
                                           << ""
                                           << "";
        // Codes against a whole length of 6.
        QTest::newRow("code shorter") << "code"
                                      << "80001"
                                      << "((N_MARCHI >= '80001') AND (N_MARCHI <= '80001z'))";
        QTest::newRow("code whole") << "code"
                                    << "800017"
                                    << "(N_MARCHI = '800017')";
        QTest::newRow("code longer") << "code"
                                     << "80001710534"
                                     << "(N_MARCHI = '800017')";
        QTest::newRow("code with apostrophe") << "code"
                                              << "8'0"
                                              << "((N_MARCHI >= '8''0') AND "
                                                 "(N_MARCHI <= '8''0z'))";
        QTest::newRow("code empty") << "code"
                                    << ""
                                    << "";
        QTest::newRow("holds") << "holds"
                               << "INUSO"
                               << "(INUSO)";
    }
    void oneCondition() {
        QFETCH(QString, kind);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        const QString column = QStringLiteral("N_MARCHI");
        FilterConditions c;
        if (kind == QLatin1String("equals"))
            c.equals(column, value);
        else if (kind == QLatin1String("startsWith"))
            c.startsWith(column, value);
        else if (kind == QLatin1String("code"))
            c.code(column, value, 6);
        else
            c.holds(value);
        QCOMPARE(c.text(), expected);
    }

    void joinedInTheOrderAdded() {
        FilterConditions c;
        QCOMPARE(c.text(), QString());
        c.equals(QStringLiteral("B"), QStringLiteral("2"))
            .equals(QStringLiteral("X"), {})
            .startsWith(QStringLiteral("A"), QStringLiteral("1"))
            .holds(QStringLiteral("C"));
        QCOMPARE(c.text(), QStringLiteral("(B = '2') AND ((A >= '1') AND (A <= '1z')) AND (C)"));
    }

    void applyFiltersExactlyWhenThereIsText() {
        ShopFixture f;
        for (const char *name : {"BIANCO", "NERO", "ROSSO"})
            f.add(QStringLiteral("COLORI"),
                  {{QStringLiteral("COLORE"), QString::fromLatin1(name)}});
        db::Table t(f.db());
        t.setTableName(QStringLiteral("COLORI"));
        auto count = [&] {
            int n = 0;
            for (t.first(); !t.eof(); t.next())
                ++n;
            return n;
        };
        // Before opening: applied at open.
        FilterConditions::apply(t, QStringLiteral("(COLORE >= 'N')"));
        t.open();
        QVERIFY(t.isFiltered());
        QCOMPARE(count(), 2);
        FilterConditions::apply(t, {});
        QVERIFY(!t.isFiltered());
        QCOMPARE(count(), 3);
        FilterConditions::apply(
            t, FilterConditions().equals(QStringLiteral("COLORE"), QStringLiteral("NERO")).text());
        QCOMPARE(count(), 1);
        QVERIFY_THROWS_EXCEPTION(db::Error, FilterConditions::apply(t, QStringLiteral("((")));
    }
};

QTEST_GUILESS_MAIN(TestFilterConditions)
#include "tst_filterconditions.moc"
