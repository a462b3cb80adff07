#include "cashbook/PrimaNota.h"
#include "cashbook/RegisterTotals.h"
#include "common/ShopFixture.h"
#include "db/Error.h"
#include "db/FaultyFileSystem.h"
#include "sales/SaleColumns.h"
#include "shell/CommonRoutines.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>

using namespace corvale;
using namespace corvale::cashbook;

namespace {

QString keyOf(const QDate &d) {
    return d.toString(QStringLiteral("yyyyMMdd"));
}
QString textOf(const QDate &d) {
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

void addSale(ShopFixture &f, const QDate &d, double total, bool bank,
             const QString &table = counterSales) {
    f.add(table, {{MYDATA, keyOf(d)}, {TOTALE, total}, {ISBANCA, bank}});
}
void addInvoice(ShopFixture &f, const QDate &d, int number, const QString &customer, double total,
                bool bank) {
    f.add(invoices, {{NUMDOC, number},
                     {DATADOC, d},
                     {MYDATA, keyOf(d)},
                     {RAGSOC, customer},
                     {TOTALE, total},
                     {ISBANCA, bank}});
}
void addPayment(ShopFixture &f, const QDate &d, double amount, bool bank, bool customer = false,
                const QString &comment = QStringLiteral("ACCONTO"),
                const QString &who = QStringLiteral("FORNITORE")) {
    f.add(payments, {{DATA, textOf(d)},
                     {MYDATA, keyOf(d)},
                     {ACCONTO, amount},
                     {ISBANCA, bank},
                     {ISCLIENTE, customer},
                     {COMMENTO, comment},
                     {CLIENTE, who}});
}
void addMovement(ShopFixture &f, int book, const QDate &d, double in, double out,
                 const QString &text = QStringLiteral("MOVIMENTO")) {
    f.add(bookTable(book), {{DESCRIZION, text},
                            {DATA, textOf(d)},
                            {MYDATA, keyOf(d)},
                            {IMPORTOI, in},
                            {IMPORTOU, out}});
}

// PRIMANOT as the window lists it: in the order of its date key.
struct Row {
    QString date, description;
    BookAmounts in{}, out{};
};
QList<Row> primaNotaRows(ShopFixture &f) {
    db::Table t(f.db());
    t.setTableName(primaNota);
    t.setIndexName(MYDATA);
    t.open();
    QList<Row> rows;
    for (t.first(); !t.eof(); t.next()) {
        Row r{t.asString(DATA), t.asString(DESCRIZION)};
        for (int k = 0; k < bookCount; ++k) {
            r.in[k] = t.asFloat(moneyIn(k));
            r.out[k] = t.asFloat(moneyOut(k));
        }
        rows << r;
    }
    return rows;
}

PrimaNotaContent rebuild(ShopFixture &f, QString from, const QString &to) {
    if (PrimaNota::checkPeriod(from, to) != PrimaNota::Period::Valid)
        qFatal("period refused");
    PrimaNota book(f.db());
    PrimaNotaContent content = book.gather(from, to);
    book.write(content);
    return content;
}

void addClosure(ShopFixture &f, const QDate &d, double total) {
    namespace s = saleColumns;
    f.add(s::closures, {{s::closureDate, d},
                        {s::closureDateKey, keyOf(d)},
                        {s::closureNumber, 1},
                        {s::closureTotal, total}});
}

bool sameCents(double a, double b) {
    return std::llround(a * 100) == std::llround(b * 100);
}

} // namespace

class TestPrimaNota : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void takingsOfOneDayMakeOneLineInTheirBooks();
    void earlierRecordsCountOnlyInTheCarriedLine();
    void periodChecks();
    void customerDepositsAndEmptyPaymentsAreLeftOut();
    void invoicesPaymentsAndMovementsGoToTheirColumns();
    void orderFollowsTheKeyAndPartialTotalsStandFirstAndLast();
    void fourthBookCountsInItsHiddenColumnsOnly();
    void cashBalanceDoesNotDependOnTheStartOfThePeriod();
    void fourYearsMatchTheSourcesToTheCent();
    void periodStartingOnTheFirstDayOfDataCarriesNothing();
    void failedWriteLeavesPreviousLinesOrNone();
    void unreadableSourceLeavesPreviousLines();
    void paymentSplitGoesToBothBooks();
    void registerDaySetsTheClosuresBesideTheTakings_data();
    void registerDaySetsTheClosuresBesideTheTakings();
    void registerDaysFollowThePeriodInDateOrder();
};

void TestPrimaNota::takingsOfOneDayMakeOneLineInTheirBooks() {
    ShopFixture f;
    const QDate day(2026, 3, 10);
    addSale(f, day, 30, false);
    addSale(f, day, 20, true);
    addSale(f, day.addDays(1), 12.5, false, receipts);
    rebuild(f, QStringLiteral("01/03/2026"), QStringLiteral("15/03/2026"));
    const QList<Row> rows = primaNotaRows(f);
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[1].description, QStringLiteral("Incasso con Vendite al Banco"));
    QCOMPARE(rows[1].date, QStringLiteral("10/03/2026"));
    QCOMPARE(rows[1].in[0], 30.0);
    QCOMPARE(rows[1].in[1], 20.0);
    QCOMPARE(rows[2].description, QStringLiteral("Incasso con Ricevute Fiscali"));
    QCOMPARE(rows[2].date, QStringLiteral("11/03/2026"));
    QCOMPARE(rows[2].in[0], 12.5);
    QCOMPARE(rows[3].in[0], 42.5);
    QCOMPARE(rows[3].in[1], 20.0);
}

void TestPrimaNota::earlierRecordsCountOnlyInTheCarriedLine() {
    ShopFixture f;
    addSale(f, QDate(2026, 2, 28), 40, false);
    addSale(f, QDate(2026, 3, 16), 99, false); // after "AL": ignored
    const PrimaNotaContent c =
        rebuild(f, QStringLiteral("01/03/2026"), QStringLiteral("15/03/2026"));
    const QList<Row> rows = primaNotaRows(f);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].description, QStringLiteral("PARZIALI PRIMA DEL 01/03/2026"));
    QCOMPARE(rows[0].in[0], 40.0);
    QCOMPARE(rows[1].description, QStringLiteral("PARZIALI DAL 01/03/2026 AL 15/03/2026"));
    QCOMPARE(rows[1].in[0], 0.0);
    QCOMPARE(c.balance(Book::Cash), 40.0);
}

void TestPrimaNota::periodChecks() {
    QString from = QStringLiteral("01/01/2004");
    QCOMPARE(PrimaNota::checkPeriod(from, QStringLiteral("31/12/2007")), PrimaNota::Period::Valid);
    QCOMPARE(PrimaNota::checkPeriod(from, QStringLiteral("01/01/2008")),
             PrimaNota::Period::TooLong);
    QCOMPARE(PrimaNota::periodMessage(PrimaNota::Period::TooLong),
             QStringLiteral("L'intervallo massimo è 4 anni"));
    // "DAL" after "AL": the single day of "AL".
    from = QStringLiteral("20/05/2005");
    QCOMPARE(PrimaNota::checkPeriod(from, QStringLiteral("10/05/2005")), PrimaNota::Period::Valid);
    QCOMPARE(from, QStringLiteral("10/05/2005"));
    from = QStringLiteral("31/02/2005");
    QCOMPARE(PrimaNota::checkPeriod(from, QStringLiteral("10/05/2005")),
             PrimaNota::Period::InvalidDate);
}

void TestPrimaNota::customerDepositsAndEmptyPaymentsAreLeftOut() {
    // Also where another program gave the payments a date tag: the same sums.
    for (const bool dateTag : {false, true}) {
        ShopFixture f;
        if (dateTag)
            f.db().executeSql(QStringLiteral("CREATE INDEX MYDATA ON \"ACCONTI.dbf\" (MYDATA)"));
        addPayment(f, QDate(2026, 3, 2), 50, false, true);
        addPayment(f, QDate(2026, 3, 3), 0, false);
        addPayment(f, QDate(2026, 2, 3), 70, false, true);
        addPayment(f, QDate(2026, 2, 27), 40, true, true);
        addPayment(f, QDate(2026, 2, 28), 15, true, false);
        const PrimaNotaContent c =
            rebuild(f, QStringLiteral("01/03/2026"), QStringLiteral("15/03/2026"));
        QCOMPARE(primaNotaRows(f).size(), 2);
        QCOMPARE(c.balance(Book::Cash), 0.0);
        QCOMPARE(c.carriedOut[0], 0.0);
        QCOMPARE(c.carriedOut[1], 15.0);
    }
}

void TestPrimaNota::invoicesPaymentsAndMovementsGoToTheirColumns() {
    ShopFixture f;
    addInvoice(f, QDate(2026, 3, 4), 5, QStringLiteral("ROSSI SRL"), 122, true);
    addInvoice(f, QDate(2026, 3, 5), 6, QStringLiteral("BIANCHI"), 61, false);
    addPayment(f, QDate(2026, 3, 6), 300, true, false, QStringLiteral("SALDO FATTURA 12"),
               QStringLiteral("CALZATURIFICIO"));
    addMovement(f, 3, QDate(2026, 3, 7), 0, 25.4, QStringLiteral("CANCELLERIA"));
    const PrimaNotaContent c =
        rebuild(f, QStringLiteral("01/03/2026"), QStringLiteral("15/03/2026"));
    const QList<Row> rows = primaNotaRows(f);
    QCOMPARE(rows.size(), 6);
    QCOMPARE(rows[1].description, QStringLiteral("Fattura N° 5 (ROSSI SRL)"));
    QCOMPARE(rows[1].date, QStringLiteral("04/03/2026"));
    QCOMPARE(rows[1].in[1], 122.0);
    QCOMPARE(rows[2].in[0], 61.0);
    QCOMPARE(rows[3].description, QStringLiteral("SALDO FATTURA 12 (CALZATURIFICIO)"));
    QCOMPARE(rows[3].out[1], 300.0);
    QCOMPARE(rows[4].description, QStringLiteral("CANCELLERIA"));
    QCOMPARE(rows[4].out[3], 25.4);
    QCOMPARE(c.balance(Book::Cash), 61.0);
    QCOMPARE(c.balance(Book::Bank), -178.0);
    QCOMPARE(c.balance(Book::Other), -25.4);
}

void TestPrimaNota::orderFollowsTheKeyAndPartialTotalsStandFirstAndLast() {
    ShopFixture f;
    addMovement(f, 0, QDate(2004, 3, 5), 10, 0, QStringLiteral("MARZO"));
    addMovement(f, 0, QDate(2003, 11, 12), 10, 0, QStringLiteral("NOVEMBRE"));
    addSale(f, QDate(2003, 1, 1), 5, false);
    addSale(f, QDate(2004, 12, 31), 5, false);
    rebuild(f, QStringLiteral("01/01/2003"), QStringLiteral("31/12/2004"));
    const QList<Row> rows = primaNotaRows(f);
    QCOMPARE(rows.size(), 6);
    QVERIFY(rows.first().description.startsWith(QStringLiteral("PARZIALI PRIMA DEL")));
    QCOMPARE(rows[1].date, QStringLiteral("01/01/2003"));
    QCOMPARE(rows[2].description, QStringLiteral("NOVEMBRE"));
    QCOMPARE(rows[3].description, QStringLiteral("MARZO"));
    QCOMPARE(rows[4].date, QStringLiteral("31/12/2004"));
    QVERIFY(rows.last().description.startsWith(QStringLiteral("PARZIALI DAL")));
}

void TestPrimaNota::fourthBookCountsInItsHiddenColumnsOnly() {
    ShopFixture f;
    addMovement(f, 2, QDate(2026, 3, 3), 500, 0);
    addMovement(f, 0, QDate(2026, 3, 3), 10, 0);
    const PrimaNotaContent c =
        rebuild(f, QStringLiteral("01/03/2026"), QStringLiteral("15/03/2026"));
    const QList<Row> rows = primaNotaRows(f);
    QCOMPARE(rows.last().in[2], 500.0);
    QCOMPARE(c.balance(Book::Cash), 10.0);
    QCOMPARE(c.balance(Book::Bank), 0.0);
    QCOMPARE(c.balance(Book::Other), 0.0);
}

void TestPrimaNota::cashBalanceDoesNotDependOnTheStartOfThePeriod() {
    ShopFixture f;
    addSale(f, QDate(2025, 6, 1), 100.10, false);
    addSale(f, QDate(2026, 1, 15), 50.20, false);
    addMovement(f, 0, QDate(2025, 12, 31), 0, 30.05);
    addPayment(f, QDate(2026, 2, 1), 20, false);
    const QString to = QStringLiteral("15/03/2026");
    for (const char *from : {"01/01/2025", "01/06/2025", "02/06/2025", "01/01/2026", "15/03/2026"})
        QVERIFY(sameCents(rebuild(f, QString::fromLatin1(from), to).balance(Book::Cash), 100.25));
}

void TestPrimaNota::fourYearsMatchTheSourcesToTheCent() {
    ShopFixture f;
    QRandomGenerator random(18);
    const QDate first(2003, 6, 1), last(2008, 6, 30);
    const QDate from(2004, 1, 1), to(2007, 12, 31);
    const int span = int(first.daysTo(last));
    // The independent sums: everything up to "AL" per book, in and out.
    BookAmounts in{}, out{};
    BookAmounts carriedIn{};
    int datedLines = 0;
    QSet<QPair<QDate, int>> takingDays;
    auto pick = [&] { return first.addDays(random.bounded(span + 1)); };
    auto cents = [&](int max) { return random.bounded(max * 100) / 100.0; };
    for (int i = 0; i < 400; ++i) {
        const QDate d = pick();
        const double amount = cents(300);
        const bool bank = random.bounded(3) == 0;
        const bool fromReceipts = random.bounded(5) == 0;
        addSale(f, d, amount, bank, fromReceipts ? receipts : counterSales);
        if (d <= to)
            in[bank] += amount;
        if (d < from)
            carriedIn[bank] += amount;
        if (d >= from && d <= to)
            takingDays.insert({d, fromReceipts});
    }
    for (int i = 0; i < 60; ++i) {
        const QDate d = pick();
        const double amount = cents(2000);
        const bool bank = random.bounded(2);
        addInvoice(f, d, i + 1, QStringLiteral("CLIENTE %1").arg(i), amount, bank);
        if (d <= to)
            in[bank] += amount;
        if (d < from)
            carriedIn[bank] += amount;
        datedLines += d >= from && d <= to;
    }
    for (int i = 0; i < 80; ++i) {
        const QDate d = pick();
        const double amount = cents(900);
        const bool bank = random.bounded(2);
        const bool customer = random.bounded(4) == 0;
        addPayment(f, d, amount, bank, customer);
        if (!customer && amount != 0 && d <= to) {
            out[bank] += amount;
            datedLines += d >= from;
        }
    }
    for (int i = 0; i < 200; ++i) {
        const QDate d = pick();
        const int book = int(random.bounded(4));
        const bool isIn = random.bounded(2);
        const double amount = cents(500);
        addMovement(f, book, d, isIn ? amount : 0, isIn ? 0 : amount);
        if (d <= to)
            (isIn ? in : out)[book] += amount;
        if (d < from && isIn)
            carriedIn[book] += amount;
        datedLines += d >= from && d <= to;
    }

    const PrimaNotaContent c = rebuild(f, textOf(from), textOf(to));
    for (Book book : {Book::Cash, Book::Bank, Book::Other})
        QVERIFY2(sameCents(c.balance(book), in[int(book)] - out[int(book)]),
                 qPrintable(QStringLiteral("book %1: %2 against %3")
                                .arg(int(book))
                                .arg(c.balance(book))
                                .arg(in[int(book)] - out[int(book)])));
    for (int k = 0; k < bookCount; ++k)
        QVERIFY(sameCents(c.carriedIn[k], carriedIn[k]));
    const QList<Row> rows = primaNotaRows(f);
    QCOMPARE(rows.size(), 2 + datedLines + int(takingDays.size()));
    // The column sums of the dated lines are the period totals.
    BookAmounts columnIn{}, columnOut{};
    for (int r = 1; r < rows.size() - 1; ++r)
        for (int k = 0; k < bookCount; ++k) {
            columnIn[k] += rows[r].in[k];
            columnOut[k] += rows[r].out[k];
        }
    for (int k = 0; k < bookCount; ++k) {
        QVERIFY(sameCents(columnIn[k], rows.last().in[k]));
        QVERIFY(sameCents(columnOut[k], rows.last().out[k]));
        QVERIFY(sameCents(rows.first().in[k], carriedIn[k]));
    }
}

void TestPrimaNota::periodStartingOnTheFirstDayOfDataCarriesNothing() {
    ShopFixture f;
    addSale(f, QDate(2024, 2, 1), 10, false);
    addMovement(f, 1, QDate(2024, 2, 1), 500, 0);
    addMovement(f, 1, QDate(2024, 3, 1), 0, 200);
    const PrimaNotaContent c =
        rebuild(f, QStringLiteral("01/02/2024"), QStringLiteral("31/12/2024"));
    for (int k = 0; k < bookCount; ++k) {
        QCOMPARE(c.carriedIn[k], 0.0);
        QCOMPARE(c.carriedOut[k], 0.0);
    }
    QCOMPARE(c.balance(Book::Bank), 300.0);
    QCOMPARE(primaNotaRows(f).first().in[1], 0.0);
}

void TestPrimaNota::failedWriteLeavesPreviousLinesOrNone() {
    db::test::FaultyFileSystem files;
    ShopFixture f(files);
    for (int day = 1; day <= 20; ++day)
        addSale(f, QDate(2026, 3, day), day, day % 2);
    const QString from = QStringLiteral("01/03/2026"), to = QStringLiteral("31/03/2026");
    PrimaNota book(f.db());
    book.write(book.gather(QStringLiteral("01/03/2026"), QStringLiteral("10/03/2026")));
    const QList<Row> previous = primaNotaRows(f);
    QCOMPARE(previous.size(), 12);
    const PrimaNotaContent next = book.gather(from, to);
    int failures = 0;
    for (int at = 1; at < 200; ++at) {
        book.write(book.gather(QStringLiteral("01/03/2026"), QStringLiteral("10/03/2026")));
        files.arm(db::test::FaultyFileSystem::Fault::IoError, files.operations() + at);
        try {
            book.write(next);
        } catch (const db::Error &e) {
            ++failures;
            QVERIFY(e.message().startsWith(QStringLiteral("Errore nella ricostruzione")));
            const QList<Row> rows = primaNotaRows(f);
            QVERIFY2(rows.isEmpty() || rows.size() == previous.size(),
                     qPrintable(QStringLiteral("fault at %1: %2 lines").arg(at).arg(rows.size())));
            if (!rows.isEmpty())
                QCOMPARE(rows.last().description, previous.last().description);
            continue;
        }
        files.arm(db::test::FaultyFileSystem::Fault::None, 0);
        QCOMPARE(primaNotaRows(f).size(), 22);
        break;
    }
    QVERIFY(failures > 0);
    // After the failures a rebuild runs as ever.
    book.write(next);
    QCOMPARE(primaNotaRows(f).size(), 22);
}

void TestPrimaNota::unreadableSourceLeavesPreviousLines() {
    ShopFixture f;
    addSale(f, QDate(2026, 3, 2), 10, false);
    rebuild(f, QStringLiteral("01/03/2026"), QStringLiteral("15/03/2026"));
    f.db().close();
    // A table of records: opening the folder does not make it anew.
    QVERIFY(QFile::remove(f.dir.path() + QStringLiteral("/dati/ACCONTI.DBF")));
    f.shop->openDatabase();
    PrimaNota book(f.db());
    QVERIFY_THROWS_EXCEPTION(
        db::Error, book.gather(QStringLiteral("01/03/2026"), QStringLiteral("15/03/2026")));
    QCOMPARE(primaNotaRows(f).size(), 3);
}

// One day of counter sales (returns and voids with negative totals) and of
// closures, with the same kinds of records just outside the period.
void TestPrimaNota::registerDaySetsTheClosuresBesideTheTakings_data() {
    QTest::addColumn<QList<double>>("sales");
    QTest::addColumn<QList<double>>("closures");
    QTest::addColumn<qint64>("takings"); // cents
    QTest::addColumn<QVariant>("rt");    // cents, null without a closure
    QTest::addColumn<QVariant>("difference");
    const QVariant none;
    QTest::newRow("no closure") << QList<double>{30, 12.5} << QList<double>{} << qint64(4250)
                                << none << none;
    QTest::newRow("equal") << QList<double>{30, 20.1} << QList<double>{50.1} << qint64(5010)
                           << QVariant(5010) << QVariant(0);
    QTest::newRow("register higher") << QList<double>{30} << QList<double>{35} << qint64(3000)
                                     << QVariant(3500) << QVariant(500);
    QTest::newRow("register lower by a cent") << QList<double>{30} << QList<double>{29.99}
                                              << qint64(3000) << QVariant(2999) << QVariant(-1);
    QTest::newRow("two closures on one day") << QList<double>{50.5} << QList<double>{20, 30.5}
                                             << qint64(5050) << QVariant(5050) << QVariant(0);
    QTest::newRow("return and void that day")
        << QList<double>{100, 49.9, -40, -49.9} << QList<double>{60} << qint64(6000)
        << QVariant(6000) << QVariant(0);
    QTest::newRow("closure of a day without sales")
        << QList<double>{} << QList<double>{10} << qint64(0) << QVariant(1000) << QVariant(1000);
    QTest::newRow("closure of a day of returns only")
        << QList<double>{-25} << QList<double>{-25} << qint64(-2500) << QVariant(-2500)
        << QVariant(0);
    // Summed as doubles these leave -7.1e-15, a difference that is none.
    QTest::newRow("no difference out of binary noise")
        << QList<double>{19.9, 19.9, 19.9, -59.7} << QList<double>{0} << qint64(0) << QVariant(0)
        << QVariant(0);
}

void TestPrimaNota::registerDaySetsTheClosuresBesideTheTakings() {
    QFETCH(QList<double>, sales);
    QFETCH(QList<double>, closures);
    QFETCH(qint64, takings);
    QFETCH(QVariant, rt);
    QFETCH(QVariant, difference);
    ShopFixture f;
    const QDate day(2026, 3, 10);
    for (double total : sales)
        addSale(f, day, total, total < 0);
    for (double total : closures)
        addClosure(f, day, total);
    for (const QDate &outside : {QDate(2026, 2, 28), QDate(2026, 3, 16)}) {
        addSale(f, outside, 999, false);
        addClosure(f, outside, 1);
    }
    // Fiscal receipts of older releases and invoices never reach the register.
    addSale(f, day, 70, false, receipts);
    addInvoice(f, day, 1, QStringLiteral("ROSSI"), 122, false);

    const PrimaNotaContent c =
        rebuild(f, QStringLiteral("01/03/2026"), QStringLiteral("15/03/2026"));
    QCOMPARE(c.registerDays.size(), 1);
    const RegisterDay &d = c.registerDays.first();
    QCOMPARE(d.date, QStringLiteral("10/03/2026"));
    QCOMPARE(d.takings.cents(), takings);
    QCOMPARE(d.registerTotal.has_value(), !rt.isNull());
    QCOMPARE(d.closures, int(closures.size()));
    if (d.registerTotal)
        QCOMPARE(d.registerTotal->cents(), rt.toLongLong());
    QCOMPARE(d.difference().has_value(), !difference.isNull());
    if (d.difference())
        QCOMPARE(d.difference()->cents(), difference.toLongLong());
    QCOMPARE(d.differs(), !difference.isNull() && difference.toLongLong() != 0);
    QCOMPARE(RegisterTotals::anyClosure(c.registerDays), !closures.isEmpty());
    // The books are not touched by the check.
    QCOMPARE(primaNotaRows(f).size(), 2 + int(!sales.isEmpty()) + 2);
}

void TestPrimaNota::registerDaysFollowThePeriodInDateOrder() {
    ShopFixture f;
    addClosure(f, QDate(2026, 3, 12), 40);
    addSale(f, QDate(2026, 3, 12), 40, false);
    addSale(f, QDate(2026, 3, 1), 5, false);
    addClosure(f, QDate(2026, 3, 15), 8);
    addClosure(f, QDate(2026, 2, 28), 1);
    // A sale paid partly by voucher counts whole, as the register counted it.
    f.add(counterSales, {{MYDATA, keyOf(QDate(2026, 3, 15))},
                         {TOTALE, 8},
                         {saleColumns::paidCash, 3},
                         {saleColumns::paidVoucher, 5}});
    RegisterTotals totals(f.db());
    const QList<RegisterDay> days =
        totals.days(QStringLiteral("20260301"), QStringLiteral("20260315"));
    QStringList dates;
    for (const RegisterDay &d : days)
        dates << d.date + QLatin1Char(' ') + (d.differs() ? QStringLiteral("!") : QString());
    QCOMPARE(dates, (QStringList{QStringLiteral("01/03/2026 "), QStringLiteral("12/03/2026 "),
                                 QStringLiteral("15/03/2026 ")}));
    QVERIFY(!days[0].registerTotal);
    QCOMPARE(days[2].takings, Money::fromCents(800));
    // A single day, and a period of no records.
    QCOMPARE(totals.days(QStringLiteral("20260312"), QStringLiteral("20260312")).size(), 1);
    QVERIFY(totals.days(QStringLiteral("20260401"), QStringLiteral("20260430")).isEmpty());
    QVERIFY(!RegisterTotals::anyClosure({}));
}

QTEST_GUILESS_MAIN(TestPrimaNota)
#include "tst_primanota.moc"

// A sale that keeps how it was paid puts its card part in the bank book and
// its cash part in the cash book, a voucher in neither; one without keeps
// "Versamento in Banca".
void TestPrimaNota::paymentSplitGoesToBothBooks() {
    ShopFixture f;
    const QDate day(2026, 3, 10);
    auto split = [&](const QDate &d, double cash, double card, double voucher, bool bank) {
        f.add(counterSales, {{MYDATA, keyOf(d)},
                             {TOTALE, cash + card + voucher},
                             {ISBANCA, bank},
                             {QStringLiteral("PAGCONT"), cash},
                             {QStringLiteral("PAGELETT"), card},
                             {QStringLiteral("PAGBUONO"), voucher}});
    };
    split(day, 13.81, 100, 0, false);
    split(day, 0, 50, 0, true);
    split(day, 5, 0, 20, false);
    addSale(f, day, 7, true);
    split(QDate(2026, 2, 1), 1, 2, 3, false); // carried
    rebuild(f, QStringLiteral("01/03/2026"), QStringLiteral("15/03/2026"));
    const QList<Row> rows = primaNotaRows(f);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows[0].in[0], 1.0);
    QCOMPARE(rows[0].in[1], 2.0);
    QCOMPARE(rows[1].in[0], 18.81);
    QCOMPARE(rows[1].in[1], 157.0);
}
