#include "cashbook/BookMovements.h"
#include "cashbook/PrimaNota.h"
#include "common/ShopFixture.h"
#include "db/Error.h"

#include <QTest>

using namespace corvale;
using namespace corvale::cashbook;

namespace {

QStringList listed(BookMovements &m) {
    QStringList out;
    db::Table &t = m.table();
    for (t.first(); !t.eof(); t.next())
        out << t.asString(DESCRIZION);
    return out;
}

} // namespace

class TestBookMovements : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enteredMovementsKeepDateAndKeyTogether();
    void periodListsByKeyNotByDateText();
    void movementOutsideThePeriodIsStoredAndCarried();
    void badEntriesAreRefused();
    void changeRewritesDateKeyAndAmount();
    void removeOnAnEmptyListDoesNothing();
};

void TestBookMovements::enteredMovementsKeepDateAndKeyTogether() {
    ShopFixture f;
    BookMovements bank(f.db(), Book::Bank);
    bank.open();
    bank.setPeriod(QStringLiteral("01/01/2026"), QStringLiteral("31/12/2026"));
    // A date typed with one-digit day and month is stored in full.
    bank.add(BookMovements::Direction::In,
             {QStringLiteral("5/3/2026"), QStringLiteral("VERSAMENTO"), 1200.456});
    bank.add(BookMovements::Direction::Out,
             {QStringLiteral("06/03/2026"), QStringLiteral("PRELIEVO"), 300});
    QCOMPARE(f.column(QStringLiteral("BANK1"), DATA),
             QStringList({QStringLiteral("05/03/2026"), QStringLiteral("06/03/2026")}));
    QCOMPARE(f.column(QStringLiteral("BANK1"), MYDATA),
             QStringList({QStringLiteral("20260305"), QStringLiteral("20260306")}));
    QCOMPARE(f.column(QStringLiteral("BANK1"), IMPORTOI),
             QStringList({QStringLiteral("1200.46"), QStringLiteral("0")}));
    QCOMPARE(f.column(QStringLiteral("BANK1"), IMPORTOU),
             QStringList({QStringLiteral("0"), QStringLiteral("300")}));
    // Other books are untouched.
    QVERIFY(f.column(QStringLiteral("BANK0"), DATA).isEmpty());
    QCOMPARE(listed(bank), QStringList({QStringLiteral("VERSAMENTO"), QStringLiteral("PRELIEVO")}));
}

void TestBookMovements::periodListsByKeyNotByDateText() {
    ShopFixture f;
    BookMovements cash(f.db(), Book::Cash);
    cash.open();
    cash.setPeriod(QStringLiteral("01/01/2003"), QStringLiteral("31/12/2004"));
    cash.add(BookMovements::Direction::In,
             {QStringLiteral("05/03/2004"), QStringLiteral("MARZO"), 1});
    cash.add(BookMovements::Direction::In,
             {QStringLiteral("12/11/2003"), QStringLiteral("NOVEMBRE"), 1});
    cash.add(BookMovements::Direction::In,
             {QStringLiteral("01/01/2005"), QStringLiteral("DOPO"), 1});
    QCOMPARE(listed(cash), QStringList({QStringLiteral("NOVEMBRE"), QStringLiteral("MARZO")}));
    cash.setPeriod(QStringLiteral("01/01/2004"), QStringLiteral("01/01/2005"));
    QCOMPARE(listed(cash), QStringList({QStringLiteral("MARZO"), QStringLiteral("DOPO")}));
}

void TestBookMovements::movementOutsideThePeriodIsStoredAndCarried() {
    ShopFixture f;
    BookMovements cash(f.db(), Book::Cash);
    cash.open();
    cash.setPeriod(QStringLiteral("01/01/2004"), QStringLiteral("31/01/2004"));
    cash.add(BookMovements::Direction::In,
             {QStringLiteral("31/12/2003"), QStringLiteral("FONDO CASSA"), 150});
    QVERIFY(listed(cash).isEmpty());
    QCOMPARE(f.column(QStringLiteral("BANK0"), DESCRIZION).size(), 1);
    PrimaNota book(f.db());
    const PrimaNotaContent c =
        book.gather(QStringLiteral("01/01/2004"), QStringLiteral("31/01/2004"));
    QCOMPARE(c.carriedIn[0], 150.0);
    QCOMPARE(c.lines.first().description, QStringLiteral("PARZIALI PRIMA DEL 01/01/2004"));
    QCOMPARE(c.lines.size(), 2);
}

void TestBookMovements::badEntriesAreRefused() {
    ShopFixture f;
    BookMovements other(f.db(), Book::Other);
    other.open();
    using Entry = BookMovements::Entry;
    QCOMPARE(BookMovements::check(Entry{QStringLiteral("31/02/2026"), QStringLiteral("X"), 1}),
             QStringLiteral("Data non valida!"));
    QCOMPARE(BookMovements::check(Entry{QStringLiteral("01/02/2026"), QStringLiteral("X"), -5}),
             QStringLiteral("Importo non valido!"));
    QCOMPARE(BookMovements::check(Entry{QStringLiteral("01/02/2026"), QStringLiteral("  "), 5}),
             QStringLiteral("Descrizione mancante!"));
    QVERIFY_THROWS_EXCEPTION(db::Error, other.add(BookMovements::Direction::Out,
                                                  {QStringLiteral("xx"), QStringLiteral("X"), 1}));
    QVERIFY(f.column(QStringLiteral("BANK3"), DATA).isEmpty());
    // The handle is usable after a refusal.
    other.add(BookMovements::Direction::Out,
              {QStringLiteral("01/02/2026"), QStringLiteral("X"), 1});
    QCOMPARE(f.column(QStringLiteral("BANK3"), DATA).size(), 1);
}

void TestBookMovements::changeRewritesDateKeyAndAmount() {
    ShopFixture f;
    BookMovements cash(f.db(), Book::Cash);
    cash.open();
    cash.setPeriod(QStringLiteral("01/01/2026"), QStringLiteral("31/12/2026"));
    cash.add(BookMovements::Direction::Out,
             {QStringLiteral("10/03/2026"), QStringLiteral("LUCE"), 80});
    cash.table().first();
    QCOMPARE(cash.currentDirection(), BookMovements::Direction::Out);
    QCOMPARE(cash.current().amount, 80.0);
    cash.changeCurrent({QStringLiteral("02/04/2026"), QStringLiteral("LUCE MARZO"), 85.5});
    QCOMPARE(f.column(QStringLiteral("BANK0"), MYDATA), QStringList{QStringLiteral("20260402")});
    QCOMPARE(f.column(QStringLiteral("BANK0"), DATA), QStringList{QStringLiteral("02/04/2026")});
    QCOMPARE(f.column(QStringLiteral("BANK0"), IMPORTOU), QStringList{QStringLiteral("85.5")});
    QCOMPARE(f.column(QStringLiteral("BANK0"), IMPORTOI), QStringList{QStringLiteral("0")});
    QCOMPARE(cash.table().state(), db::Table::State::Browse);
}

void TestBookMovements::removeOnAnEmptyListDoesNothing() {
    ShopFixture f;
    BookMovements cash(f.db(), Book::Cash);
    cash.open();
    cash.setPeriod(QStringLiteral("01/01/2026"), QStringLiteral("31/01/2026"));
    cash.add(BookMovements::Direction::In,
             {QStringLiteral("01/02/2026"), QStringLiteral("FUORI"), 1});
    QVERIFY(!cash.removeCurrent());
    QCOMPARE(f.column(QStringLiteral("BANK0"), DATA).size(), 1);
    cash.setPeriod(QStringLiteral("01/02/2026"), QStringLiteral("28/02/2026"));
    QVERIFY(cash.removeCurrent());
    QVERIFY(f.column(QStringLiteral("BANK0"), DATA).isEmpty());
}

QTEST_GUILESS_MAIN(TestBookMovements)
#include "tst_bookmovements.moc"
