#include "common/ShopFixture.h"

#include "db/Error.h"
#include "sales/CustomerCards.h"
#include "sales/CustomerList.h"
#include "sales/PurchaseTotals.h"
#include "sales/SalesTables.h"

#include <QFile>

#include <QTest>

using namespace corvale;

namespace {

void addCustomer(ShopFixture &f, qint64 code, const QString &name, const QString &card,
                 qint64 used = 0) {
    f.add(QStringLiteral("CLIENTI"), {{QStringLiteral("CODICE"), code},
                                      {QStringLiteral("NOME"), name},
                                      {QStringLiteral("BARCODE"), card},
                                      {QStringLiteral("DECPUNTI"), used}});
}

void addSale(ShopFixture &f, qint64 customer, double total) {
    QVariantMap values{{QStringLiteral("TOTALE"), total}};
    if (customer != 0)
        values.insert(QStringLiteral("NUMCLI"), customer);
    f.add(QStringLiteral("VENDITE"), values);
}

void addInvoice(ShopFixture &f, qint64 customer, double total) {
    f.add(QStringLiteral("FATTURE"),
          {{QStringLiteral("NUMRAG"), customer}, {QStringLiteral("TOTALE"), total}});
}

QStringList names(CustomerList &list) {
    QStringList out;
    db::Table &t = list.table();
    for (t.first(); !t.eof(); t.next())
        out << t.asString(QStringLiteral("NOME"));
    return out;
}

} // namespace

class TestClientiPoints : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void balanceDropsTheFractionOfWhatWasEarnedOnly() {
        QCOMPARE(PurchaseTotals::pointsBalance(100.50, 1, 20), 80);
        QCOMPARE(PurchaseTotals::pointsBalance(10, 1, 30), -20);
        // 10.7 points earned and 30 used: the same answer wherever it is asked.
        QCOMPARE(PurchaseTotals::pointsBalance(10.7, 1, 30), -20);
        QCOMPARE(PurchaseTotals::pointsBalance(5.35, 2, 0), 10);
        // Binary floating point must not cost a whole point.
        QCOMPARE(PurchaseTotals::pointsBalance(19.99, 100, 0), 1999);
        QCOMPARE(PurchaseTotals::pointsBalance(0.29, 100, 0), 29);
        QCOMPARE(PurchaseTotals::pointsBalance(250, 0, 7), -7);
        QCOMPARE(PurchaseTotals::pointsBalance(-12.5, 1, 0), -12);
    }

    void everyCustomerCodeHasItsTotal() {
        ShopFixture f;
        addSale(f, 1, 60.25);
        addSale(f, 1, 40.25);
        addInvoice(f, 1, 100);
        addSale(f, 5000, 30);
        addSale(f, 123456, 12.5);
        addInvoice(f, 7000, 8);
        addSale(f, 0, 99); // anonymous
        addSale(f, 2, 0);
        // Codes far from the counter's range are totalled like any other.
        addSale(f, 9999999999, 3.5);
        addInvoice(f, 4194304, 2);

        PurchaseTotals totals;
        totals.rebuild(f.db());
        QCOMPARE(totals.total(1), 200.5);
        QCOMPARE(totals.total(5000), 30.0);
        QCOMPARE(totals.total(123456), 12.5);
        QCOMPARE(totals.total(7000), 8.0);
        QCOMPARE(totals.total(0), 99.0);
        QCOMPARE(totals.total(2), 0.0);
        QCOMPARE(totals.total(3), 0.0);
        QCOMPARE(totals.total(9999999999), 3.5);
        QCOMPARE(totals.total(4194304), 2.0);
        QCOMPARE(totals.total(-1), 0.0);
        for (qint64 code : {0LL, 1LL, 2LL, 3LL, 5000LL, 7000LL, 123456LL, 4194304LL, 9999999999LL})
            QCOMPARE(PurchaseTotals::customerTotal(f.db(), code), totals.total(code));

        // The totals are as fresh as their last rebuild.
        addSale(f, 1, 10);
        QCOMPARE(totals.total(1), 200.5);
        QCOMPARE(PurchaseTotals::customerTotal(f.db(), 1), 210.5);
        totals.rebuild(f.db());
        QCOMPARE(totals.total(1), 210.5);
    }

    void totalsWithoutTheCustomerTag() {
        ShopFixture f;
        // VENDITE as an old data folder may have it: no tag on NUMCLI.
        const QString folder = f.db().path();
        f.db().close();
        for (const char *file : {"VENDITE.DBF", "VENDITE.MDX"})
            QFile::remove(folder + QLatin1Char('/') + QString::fromLatin1(file));
        f.db().open(folder);
        f.db().createTable(QStringLiteral("VENDITE.DBF"), counterSaleFields(),
                           {QStringLiteral("NUMREG")});
        addSale(f, 4, 10.5);
        addSale(f, 5, 1);
        addSale(f, 4, 2);
        QCOMPARE(PurchaseTotals::customerTotal(f.db(), 4), 12.5);
        QCOMPARE(PurchaseTotals::customerTotal(f.db(), 6), 0.0);
    }

    void cardsAreFoundExactly() {
        ShopFixture f;
        addCustomer(f, 1, QStringLiteral("ROSSI"), QStringLiteral("1001"), 4);
        addCustomer(f, 2, QStringLiteral("O'BRIEN"), QStringLiteral("AB'C"));
        addCustomer(f, 3, QStringLiteral("VERDI"), QStringLiteral("10012"));
        addCustomer(f, 4, QStringLiteral("SENZA CARTA"), QString());
        addCustomer(f, 5, QStringLiteral("LUNGA"), QStringLiteral("12345678901234567890"));
        addCustomer(f, 6, QStringLiteral("MINUSCOLO"), QStringLiteral("abc"));
        addCustomer(f, 7, QStringLiteral("MAIUSCOLO"), QStringLiteral("ABC"));

        std::optional<CustomerCard> c = findCustomerByCard(f.db(), QStringLiteral("1001"));
        QVERIFY(c);
        QCOMPARE(c->code, 1);
        QCOMPARE(c->name, QStringLiteral("ROSSI"));
        QCOMPARE(c->card, QStringLiteral("1001"));
        QCOMPARE(c->usedPoints, 4);
        c = findCustomerByCard(f.db(), QStringLiteral("AB'C"));
        QVERIFY(c);
        QCOMPARE(c->code, 2);
        QCOMPARE(findCustomerByCard(f.db(), QStringLiteral("ABC"))->code, 7);
        QCOMPARE(findCustomerByCard(f.db(), QStringLiteral("abc"))->code, 6);
        QCOMPARE(findCustomerByCard(f.db(), QStringLiteral("1001 "))->code, 1);

        // Nothing matches by a part of a number, nor by no number at all.
        QVERIFY(!findCustomerByCard(f.db(), QStringLiteral("100")));
        QVERIFY(!findCustomerByCard(f.db(), QString()));
        QVERIFY(!findCustomerByCard(f.db(), QStringLiteral("   ")));
        QVERIFY(!findCustomerByCard(f.db(), QStringLiteral("AB''C")));
        QVERIFY(!findCustomerByCard(f.db(), QStringLiteral("' OR 'A'='A")));
        QVERIFY(!findCustomerByCard(f.db(), QStringLiteral("12345678901234567890XYZ")));
        QCOMPARE(findCustomerByCard(f.db(), QStringLiteral("12345678901234567890"))->code, 5);

        QCOMPARE(findCustomerByCode(f.db(), 3)->card, QStringLiteral("10012"));
        QVERIFY(!findCustomerByCode(f.db(), 99));
    }

    void listSearchesByNameAndCardTogether() {
        ShopFixture f;
        addCustomer(f, 1, QStringLiteral("ROSSI MARIO"), QStringLiteral("111"));
        addCustomer(f, 2, QStringLiteral("ROSSI ANNA"), QStringLiteral("222"));
        addCustomer(f, 3, QStringLiteral("BIANCHI"), QStringLiteral("111"));
        addCustomer(f, 4, QStringLiteral("D'ANGELO"), QStringLiteral("X'1"));
        addCustomer(f, 5, QStringLiteral("DANTE"), QStringLiteral("X1"));

        CustomerList list(f.db());
        list.activate(1);
        QCOMPARE(names(list), (QStringList{QStringLiteral("BIANCHI"), QStringLiteral("D'ANGELO"),
                                           QStringLiteral("DANTE"), QStringLiteral("ROSSI ANNA"),
                                           QStringLiteral("ROSSI MARIO")}));
        list.search(QStringLiteral("ROSSI"), QString());
        QCOMPARE(names(list),
                 (QStringList{QStringLiteral("ROSSI ANNA"), QStringLiteral("ROSSI MARIO")}));
        list.search(QString(), QStringLiteral("111"));
        QCOMPARE(names(list),
                 (QStringList{QStringLiteral("BIANCHI"), QStringLiteral("ROSSI MARIO")}));
        list.search(QStringLiteral("ROSSI"), QStringLiteral("111"));
        QCOMPARE(names(list), QStringList{QStringLiteral("ROSSI MARIO")});
        list.search(QStringLiteral("ROSSI"), QStringLiteral("11"));
        QVERIFY(names(list).isEmpty());

        // Quotes are text, in the name and in the card alike.
        list.search(QStringLiteral("D'"), QString());
        QCOMPARE(names(list), QStringList{QStringLiteral("D'ANGELO")});
        list.search(QString(), QStringLiteral("X'1"));
        QCOMPARE(names(list), QStringList{QStringLiteral("D'ANGELO")});
        list.search(QString(), QStringLiteral("X') OR ('A'='A"));
        QVERIFY(names(list).isEmpty());
        list.search(QStringLiteral("Z') OR ('A'='A"), QString());
        QVERIFY(names(list).isEmpty());
        QCOMPARE(CustomerList::filterText(QStringLiteral("D'A"), QStringLiteral("X'1")),
                 QStringLiteral("(NOME >= 'D''A') AND (NOME <= 'D''Az') AND (BARCODE = 'X''1')"));

        list.search(QString(), QString());
        QCOMPARE(names(list).size(), 5);
        QVERIFY(CustomerList::filterText(QString(), QString()).isEmpty());
    }

    void listShowsEveryCustomersBalance() {
        ShopFixture f;
        addCustomer(f, 1, QStringLiteral("A"), QString(), 20);
        addCustomer(f, 5000, QStringLiteral("B"), QString());
        addCustomer(f, 8123, QStringLiteral("C"), QString(), 30);
        addCustomer(f, 9, QStringLiteral("D"), QString(), 5);
        addSale(f, 1, 100.50);
        addSale(f, 5000, 45.9);
        addInvoice(f, 8123, 10.7);
        addSale(f, 0, 1000);

        CustomerList list(f.db());
        list.activate(1);
        db::Table &t = list.table();
        QStringList rows;
        for (t.first(); !t.eof(); t.next())
            rows << QStringLiteral("%1 %2 %3")
                        .arg(t.asString(QStringLiteral("NOME")))
                        .arg(t.asFloat(CustomerList::totalColumn))
                        .arg(t.asInteger(CustomerList::pointsColumn));
        QCOMPARE(rows, (QStringList{QStringLiteral("A 100.5 80"), QStringLiteral("B 45.9 45"),
                                    QStringLiteral("C 10.7 -20"), QStringLiteral("D 0 -5")}));

        // A new rate and new sales count from the next activation.
        addSale(f, 9, 10);
        list.activate(2);
        t.first();
        QCOMPARE(t.asInteger(CustomerList::pointsColumn), 181);
        t.last();
        QCOMPARE(t.asInteger(CustomerList::pointsColumn), 15);
    }

    void spendingPoints() {
        ShopFixture f;
        addCustomer(f, 1, QStringLiteral("A"), QString(), 20);
        addSale(f, 1, 100);
        CustomerList list(f.db());
        list.activate(1);
        db::Table &t = list.table();
        QVERIFY(list.spendPoints(QStringLiteral("30")));
        QCOMPARE(t.asInteger(QStringLiteral("DECPUNTI")), 50);
        QCOMPARE(t.asInteger(CustomerList::pointsColumn), 50);
        QVERIFY(list.spendPoints(QStringLiteral(" -15 ")));
        QCOMPARE(t.asInteger(QStringLiteral("DECPUNTI")), 35);
        // Nothing checks that the balance stays positive.
        QVERIFY(list.spendPoints(QStringLiteral("100")));
        QCOMPARE(t.asInteger(CustomerList::pointsColumn), -35);
        for (const char *bad : {"", "abc", "1,5", "2.5", "10 punti", "99999999999999999999999"})
            QVERIFY2(!list.spendPoints(QString::fromLatin1(bad)), bad);
        QCOMPARE(t.asInteger(QStringLiteral("DECPUNTI")), 135);

        // A sum the column cannot hold is refused and the record left as it was.
        bool refused = false;
        try {
            list.spendPoints(QStringLiteral("99999999999"));
        } catch (const db::Error &) {
            refused = true;
        }
        QVERIFY(refused);
        QCOMPARE(t.state(), db::Table::State::Browse);
        QCOMPARE(f.column(QStringLiteral("CLIENTI"), QStringLiteral("DECPUNTI")),
                 QStringList{QStringLiteral("135")});
    }
};

QTEST_MAIN(TestClientiPoints)
#include "tst_clienti_points.moc"
