#include "cashbook/CashBookColumns.h"
#include "catalogue/ArticleColumns.h"
#include "catalogue/ContactColumns.h"
#include "documents/SheetColumns.h"
#include "purchasing/PaymentColumns.h"
#include "sales/SaleColumns.h"
#include "schema/DataFolderSchema.h"
#include "shell/ShopFiscalColumns.h"

#include <QTest>

using namespace corvale;

// The code reads and writes the tables through named columns: a name that
// drifts from its table's layout fails only when the record is touched, in
// front of the user. Each table here is checked against the names the code
// uses for it.
class TestColumnNames : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void namesAreColumnsOfTheirTables_data();
    void namesAreColumnsOfTheirTables();
};

void TestColumnNames::namesAreColumnsOfTheirTables_data() {
    QTest::addColumn<QStringList>("tables");
    QTest::addColumn<QStringList>("columns");
    namespace a = articleColumns;
    namespace c = contactColumns;
    namespace p = paymentColumns;
    namespace s = saleColumns;
    namespace f = shopFiscal;
    QTest::newRow("payments") << QStringList{p::payments}
                              << QStringList{p::key,          p::partyKey, p::party,
                                             p::fromCustomer, p::comment,  p::amount,
                                             p::date,         p::dateKey,  p::toBank};
    QTest::newRow("contacts") << QStringList{c::suppliers, c::customers}
                              << QStringList{c::code,      c::name,       c::address,
                                             c::cap,       c::city,       c::email,
                                             c::phone,     c::mobile,     c::fax,
                                             c::card,      c::usedPoints, c::vatOrFiscalCode,
                                             c::vatNumber, c::fiscalCode, c::recipientCode,
                                             c::pec,       c::province,   c::country};
    QTest::newRow("shop record") << QStringList{f::config}
                                 << QStringList{
                                        f::name,          f::name2,     f::address, f::city,
                                        f::phone,         f::fax,       f::vatRate, f::note,
                                        f::privacy,       f::password,  f::hasLogo, f::logo,
                                        f::pointsPerEuro, f::vatNumber, f::regime,  f::country};
    QTest::newRow("stock document lines")
        << QStringList{QStringLiteral("ARCART_A"), QStringLiteral("ARCART_R"),
                       QStringLiteral("ARCART_O"), QStringLiteral("ARCART_V")}
        << QStringList{a::lineArticle, a::lineSize, a::lineQuantity, a::lineDate,
                       a::colour,      doc::NUMART, doc::DATAREG};
    QTest::newRow("sale lines") << QStringList{QStringLiteral("ARCART_V")}
                                << QStringList{a::lineIsSale, doc::TIPO};
    QTest::newRow("document headers with a bank flag")
        << QStringList{QStringLiteral("CARICHI"), QStringLiteral("VENDITE"),
                       QStringLiteral("FATTURE")}
        << QStringList{doc::ISBANCA, doc::TOTALE, doc::MYDATA};
    QTest::newRow("size types") << QStringList{a::sizeTypes}
                                << QStringList{a::key,         a::description,
                                               a::coreFrom,    a::coreTo,
                                               a::sizeCell(1), a::sizeCell(a::sizeCount)};
    QTest::newRow("colours") << QStringList{a::colours} << QStringList{a::key, a::colour};
    QTest::newRow("further codes")
        << QStringList{a::furtherCodes} << QStringList{a::furtherCodeArticle, a::furtherCode};
    QTest::newRow("name lists") << QStringList{QStringLiteral("MARCHI"),
                                               QStringLiteral("CATEGOR"),
                                               QStringLiteral("MATERIAL"),
                                               QStringLiteral("FONDI"),
                                               QStringLiteral("TIPOLOGI"),
                                               QStringLiteral("MISURE")}
                                << QStringList{a::listName};
    QTest::newRow("daily closures")
        << QStringList{s::closures}
        << QStringList{s::closureKey,    s::closureDate,  s::closureTime,  s::closureDateKey,
                       s::closureNumber, s::closureTotal, s::closureSerial};
    QTest::newRow("what the Prima nota reads of the sales")
        << QStringList{cashbook::counterSales}
        << QStringList{cashbook::MYDATA, cashbook::TOTALE, cashbook::ISBANCA,
                       s::paidCash,      s::paidCard,      s::paidVoucher};
}

void TestColumnNames::namesAreColumnsOfTheirTables() {
    QFETCH(QStringList, tables);
    QFETCH(QStringList, columns);
    for (const QString &table : tables) {
        const TableLayout *layout = findTableLayout(table);
        QVERIFY2(layout, qPrintable(table));
        for (const QString &column : columns)
            QVERIFY2(layout->hasField(column), qPrintable(table + QLatin1Char('.') + column));
    }
}

QTEST_GUILESS_MAIN(TestColumnNames)
#include "tst_columnnames.moc"
