// The counter sale's rules without its window: sums, codes, stock cells,
// payment and the save with its stock movements.

#include "tst_banco_data.h"

#include "catalogue/VoucherCode.h"
#include "db/Error.h"
#include "platform/Money.h"
#include "sales/CounterSale.h"
#include "sales/SaleArithmetic.h"
#include "sales/SaleCheckout.h"
#include "sales/SaleCodeLookup.h"
#include "sales/SalePrintout.h"
#include "sales/SaleStock.h"

#include <QTest>

using namespace corvale;
using Kind = SaleCodeLookup::Result::Kind;

namespace {

SheetRow row(double quantity, double price, double discount) {
    QVariantMap v{{sheet::DESCRIZION, QStringLiteral("X")},
                  {sheet::QUANTITA, quantity},
                  {sheet::PREZZO, price},
                  {sheet::SCONTO, discount}};
    const QVariant amount =
        quantity == 0 ? QVariant() : QVariant((1 - discount * 0.01) * price * quantity);
    return SheetRow{v, amount};
}

// Writes a line by code on sheet row `row` (1-based).
void codeOnRow(CounterSale &sale, int row, const QString &code) {
    db::Table &t = sale.sheet().table();
    t.first();
    t.moveBy(row - 1);
    QCOMPARE(sale.enterCode(code).kind, Kind::Line);
}

} // namespace

class TestBancoLogic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void amountsDiscountsAndRounding() {
        // 10 % off 50.00 twice is 90.00; 5 % off two such lines is 171.00.
        const QList<SheetRow> two{row(2, 50, 10), row(2, 50, 10)};
        QCOMPARE(two[0].amount.toDouble(), 90.0);
        const SaleTotals t = SaleArithmetic::totals(two, 5);
        QCOMPARE(t.gross, 180.0);
        QCOMPARE(t.net, 171.0);
        QCOMPARE(t.pieces, 4);
        QVERIFY(qAbs(t.discountAmount - 9.0) < 1e-9);
        // 29.997 is due to the cent: 30.00.
        QCOMPARE(SaleArithmetic::totals({row(1, 33.33, 0)}, 10).net, 30.0);
        // A row without a quantity adds neither pieces nor money.
        QCOMPARE(SaleArithmetic::totals({row(0, 33.33, 0)}, 0).pieces, 0);

        QVERIFY(!SaleArithmetic::agreePrice(0, 10));

        QCOMPARE(*SaleArithmetic::change(100, 87.5), 12.5);
        QVERIFY(!SaleArithmetic::change(80, 87.5));
        QCOMPARE(*SaleArithmetic::change(0.1 + 0.2, 0.3), 0.0); // to the cent

        QCOMPARE(SalePrintout::percentText(0), QString());
        QCOMPARE(SalePrintout::percentText(10), QStringLiteral("10"));
        QCOMPARE(SalePrintout::percentText(12.5), QStringLiteral("12,5"));
    }

    // "Calcolo dal prezzo scontato": the customer pays the price typed, in
    // the total, on the receipt and once the sale is stored and reopened,
    // although "Sconto %" shows the discount to two decimals only.
    void agreedPriceIsWhatIsPaid_data() {
        QTest::addColumn<double>("gross");
        QTest::addColumn<double>("price");
        QTest::addColumn<double>("percent");
        QTest::newRow("899,70 to 700") << 899.70 << 700.0 << 22.2;
        QTest::newRow("1999,80 to 1500") << 1999.80 << 1500.0 << 24.99;
        QTest::newRow("200 to 150") << 200.0 << 150.0 << 25.0;
        QTest::newRow("above the gross amount") << 200.0 << 250.0 << 0.0;
        QTest::newRow("a cent off a large sale") << 1000.0 << 999.99 << 0.01;
    }
    void agreedPriceIsWhatIsPaid() {
        QFETCH(double, gross);
        QFETCH(double, price);
        QFETCH(double, percent);
        const double due = std::min(price, gross);
        ShopFixture f;
        addSaleData(f);
        qint64 key = 0;
        {
            CounterSale sale(*f.shop);
            QVERIFY(sale.begin(0));
            codeOnRow(sale, 1, saleCode(1, 1));
            db::Table &t = sale.sheet().table();
            t.first();
            t.edit();
            t.setFloat(sheet::PREZZO, gross);
            t.setFloat(sheet::SCONTO, 0);
            t.post();
            const auto shown = sale.agreePrice(price);
            QVERIFY(shown);
            QCOMPARE(*shown, percent);
            QCOMPARE(sale.totals(*shown).net, due);
            const Receipt receipt = sale.receipt(*shown, due);
            QCOMPARE(receipt.payment, due);
            QCOMPARE(Money::of(receipt.discountAmount), Money::of(gross) - Money::of(due));
            key = sale.save(QDate(2026, 3, 15), *shown);
            sale.close();
        }
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("TOTALE")).value(0).toDouble(),
                 due);
        CounterSale again(*f.shop);
        QVERIFY(again.begin(key));
        QCOMPARE(again.totals(percent).net, due);
        // Another percent typed over it is a percent again.
        QCOMPARE(again.totals(10).net, roundToCents(gross * 0.9));
        again.cancel();
    }

    void codesArticlesLineBarcodesAndExtraCodes() {
        ShopFixture f;
        addSaleData(f);
        SaleCodeLookup lookup(f.db());
        lookup.open();

        // The article's own code gives no colour: an article stocked by
        // colour waits for its colour and size...
        auto r = lookup.find(QStringLiteral("800001"));
        QCOMPARE(r.kind, Kind::ChooseSize);
        QCOMPARE(r.article, 1);
        // ...one without stock rows (an accessory) is sold at once, in size
        // position 1 with its label and no colour, one piece at its price.
        r = lookup.find(QStringLiteral("800002"));
        QCOMPARE(r.kind, Kind::Line);
        QCOMPARE(r.line.article, 2);
        QCOMPARE(r.line.description, QStringLiteral("SANDALO"));
        QCOMPARE(r.line.brand, QStringLiteral("ROSSI"));
        QCOMPARE(r.line.barcode, QStringLiteral("800002"));
        QCOMPARE(r.line.sizeType, 1);
        QCOMPARE(r.line.position, 1);
        QCOMPARE(r.line.sizeLabel, QStringLiteral("38"));
        QCOMPARE(r.line.colour, QString());
        QCOMPARE(r.line.price, Money::fromCents(5990));
        QCOMPARE(r.line.discount, 5.0);
        QCOMPARE(r.line.vat, 20.0);
        QCOMPARE(r.line.quantity, 1.0);

        // A line barcode gives colour and size back, and is the line's code.
        r = lookup.find(saleCode(2, 3));
        QCOMPARE(r.kind, Kind::Line);
        QCOMPARE(r.line.colour, QStringLiteral("BLU"));
        QCOMPARE(r.line.sizeLabel, QStringLiteral("40"));
        QCOMPARE(r.line.barcode, saleCode(2, 3));

        // An article not in use is still sold by its code, but not through
        // an extra code, which only leads to articles in use.
        r = lookup.find(saleCode(1, 2, 3));
        QCOMPARE(r.kind, Kind::Line);
        QCOMPARE(r.line.description, QStringLiteral("VECCHIO"));
        QCOMPARE(lookup.find(QStringLiteral("EXTRA3")).kind, Kind::NotFound);
        r = lookup.find(QStringLiteral("EXTRA1"));
        QCOMPARE(r.kind, Kind::ChooseSize);
        QCOMPARE(r.article, 1);

        // Stock rows without a colour name do not stock an article by colour.
        f.add(QStringLiteral("ARCARTTG"),
              {{QStringLiteral("ARTCODE"), 2}, {QStringLiteral("TG1"), 4}});
        lookup.open();
        QCOMPARE(lookup.find(QStringLiteral("800002")).kind, Kind::Line);
        f.add(QStringLiteral("ARCARTTG"),
              {{QStringLiteral("ARTCODE"), 2}, {QStringLiteral("COLORE"), QStringLiteral("BLU")}});
        lookup.open();
        QCOMPARE(lookup.find(QStringLiteral("800002")).kind, Kind::ChooseSize);

        // What the counter says under a code that makes nothing.
        r = lookup.find(QStringLiteral("800001101125"));
        QCOMPARE(r.kind, Kind::NotFound);
        QCOMPARE(r.refusal, QStringLiteral("Articolo inesistente!"));
        QString misread = saleCode(2, 3);
        misread[11] = misread[11] == u'9' ? u'8' : u'9';
        r = lookup.find(misread);
        QCOMPARE(r.kind, Kind::NotFound);
        QCOMPARE(r.refusal, CodeDecoder::checkDigitText);
        r = lookup.find(voucherCode::barcode(7));
        QCOMPARE(r.kind, Kind::NotFound);
        QCOMPARE(r.refusal, QStringLiteral("Articolo inesistente!"));
    }

    void aCodeEnteredFillsTheWholeRow() {
        ShopFixture f;
        addSaleData(f);
        CounterSale sale(*f.shop);
        QVERIFY(sale.begin(0));
        // A row that held another line keeps nothing of it.
        codeOnRow(sale, 1, saleCode(1, 4));
        db::Table &t = sale.sheet().table();
        t.first();
        QCOMPARE(sale.enterCode(QStringLiteral("800002")).kind, Kind::Line);
        const QList<SheetRow> rows = sale.lines();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].text(sheet::DESCRIZION), QStringLiteral("SANDALO"));
        QCOMPARE(rows[0].text(sheet::COLORE), QString());
        QCOMPARE(rows[0].text(sheet::CTAGLIA), QStringLiteral("38"));
        QCOMPARE(rows[0].number(sheet::TAGLIA), 1.0);
        QCOMPARE(rows[0].number(sheet::CODICE), 2.0);
        QCOMPARE(rows[0].number(sheet::PREZZO), 59.9);
        QCOMPARE(sale.lastArticle(), 2);
        // A code that makes nothing leaves the sheet as it was.
        const auto refused = sale.enterCode(QStringLiteral("800009"));
        QCOMPARE(refused.kind, Kind::NotFound);
        QCOMPARE(sale.lines().size(), 1);
        sale.cancel();
    }

    void linesTakeTheListPriceToTheCent() {
        ShopFixture f;
        addSaleData(f);
        // A sale price made from a markup with VAT can keep fractions of a
        // cent; the register is sent the cents, and the sale counts them too.
        setListPrice(f, 1, 15.0649);
        CounterSale sale(*f.shop);
        QVERIFY(sale.begin(0));
        codeOnRow(sale, 1, saleCode(1, 1));
        QVERIFY(sale.chooseByDescription(QStringLiteral("STIVALE CUOIO")));
        QVERIFY(sale.chooseSize(0, 1));
        const QList<SheetRow> rows = sale.lines();
        QCOMPARE(rows.size(), 2);
        for (const SheetRow &row : rows)
            QCOMPARE(row.number(sheet::PREZZO), 15.06);
        // 2 x 15,06 less 5%: 28,614, not 28,623.
        QCOMPARE(sale.totals(0).net, 28.61);
        sale.cancel();
    }

    void stockCellsChooseOnlyWithStock() {
        ShopFixture f;
        addSaleData(f);
        SaleStock stock;
        stock.load(f.db(), 1, QStringLiteral("800001"), 1);
        QCOMPARE(stock.rows().size(), 2);
        QCOMPARE(stock.titles().value(0), QStringLiteral("38"));
        QCOMPARE(stock.titles().value(5), QStringLiteral(" "));
        // Nothing: no size focused, a zero cell, an empty cell, the colour column.
        QVERIFY(!stock.choose(f.db(), 0, 0));
        QVERIFY(!stock.choose(f.db(), 0, 2));
        QVERIFY(!stock.choose(f.db(), 0, 3));
        QVERIFY(!stock.choose(f.db(), 5, 1));
        // Negative stock can be sold.
        const auto negative = stock.choose(f.db(), 0, 4);
        QVERIFY(negative);
        QCOMPARE(negative->label, QStringLiteral("41"));
        const auto blue = stock.choose(f.db(), 1, 2);
        QVERIFY(blue);
        QCOMPARE(blue->colour, QStringLiteral("BLU"));
        QCOMPARE(blue->barcode, saleCode(2, 2));

        // An unknown size type titles every size "?"; a colour missing from
        // COLORI makes the colour code 000.
        f.add(QStringLiteral("ARCARTTG"), {{QStringLiteral("ARTCODE"), 2},
                                           {QStringLiteral("COLORE"), QStringLiteral("ORO")},
                                           {QStringLiteral("TG1"), 1}});
        stock.load(f.db(), 2, QStringLiteral("800002"), 77);
        QCOMPARE(stock.titles(), QStringList(20, QStringLiteral("?")));
        QCOMPARE(stock.choose(f.db(), 0, 1)->barcode.left(12), QStringLiteral("800002000101"));
    }

    void paymentChangeAndRefusal() {
        ScriptedPrompter prompter;
        SaleCheckout checkout(prompter);
        QCOMPARE(*checkout.askPayment(87.5, false), 87.5);
        prompter.expectInput(QStringLiteral("Pagamento"), QStringLiteral("Contanti"),
                             QStringLiteral("100"), QString());
        prompter.expectInformation(QStringLiteral("RESTO:\r\r€     12,50"));
        QCOMPARE(*checkout.askPayment(87.5, true), 100.0);
        prompter.expectInput(QStringLiteral("Pagamento"), QStringLiteral("Contanti"),
                             QStringLiteral("80"));
        prompter.expectError(QStringLiteral("Credito Insufficiente!"));
        QVERIFY(!checkout.askPayment(87.5, true));
        // Cancelled or not a number: silently nothing.
        prompter.expectInput(QStringLiteral("Pagamento"), QStringLiteral("Contanti"), std::nullopt);
        QVERIFY(!checkout.askPayment(87.5, true));
        prompter.expectInput(QStringLiteral("Pagamento"), QStringLiteral("Contanti"),
                             QStringLiteral("cento"));
        QVERIFY(!checkout.askPayment(87.5, true));
        QVERIFY(prompter.done());
    }

    void saveStoresEveryLineAndMovesStock() {
        ShopFixture f;
        addSaleData(f);
        CounterSale sale(*f.shop);
        QVERIFY(sale.begin(0));
        QCOMPARE(sale.header().asInteger(doc::NUMDOC), 1);
        QVERIFY(sale.header().asBool(QStringLiteral("TIPO")));
        codeOnRow(sale, 1, saleCode(1, 1));
        codeOnRow(sale, 2, saleCode(1, 5));
        codeOnRow(sale, 3, saleCode(2, 2));
        // Rows 4-9 empty: the line on row 10 is sold all the same.
        codeOnRow(sale, 10, saleCode(1, 1));
        QCOMPARE(sale.lines().size(), 4);
        // What is due is what is stored: 4 x 59.90 less 5 %, less 10 %.
        const SaleTotals t = sale.totals(10);
        QCOMPARE(t.pieces, 4);
        QCOMPARE(t.net, 204.86);
        const Receipt receipt = sale.receipt(10, t.net);
        QCOMPARE(receipt.lines.size(), 4);
        QCOMPARE(receipt.payment, 204.86);
        QVERIFY(qAbs(receipt.discountAmount - (t.gross - t.net)) < 1e-9);

        const qint64 key = sale.save(QDate(2026, 3, 15), 10);
        QCOMPARE(key, f.counter(QStringLiteral("VENDITE")));
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("TOTALE")),
                 QStringList{"204.86"});
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("MYDATA")),
                 QStringList{"20260315"});
        const auto lines = storedSaleLines(f);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0].value(QStringLiteral("NUMVEN")).toLongLong(), key);
        QCOMPARE(lines[0].value(QStringLiteral("IMPORTO")).toDouble(), 56.905);
        QVERIFY(lines[0].value(QStringLiteral("TIPO")).toBool());
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 0.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 2.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("BLU"), 2), 0.0);
        sale.close();
    }

    void changingAStoredSaleGivesBackItsOldStock() {
        ShopFixture f;
        addSaleData(f);
        qint64 key = 0;
        {
            CounterSale sale(*f.shop);
            sale.begin(0);
            codeOnRow(sale, 1, saleCode(1, 1));
            codeOnRow(sale, 2, saleCode(1, 5));
            key = sale.save(QDate(2026, 3, 15), 0);
            sale.close();
        }
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 1.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 2.0);
        CounterSale sale(*f.shop);
        QVERIFY(sale.begin(key));
        QVERIFY(!sale.isNew());
        QCOMPARE(sale.lines().size(), 2);
        sale.sheet().table().first();
        QVERIFY(sale.deleteLine());
        // Re-dated: the date key follows, as for every document.
        QCOMPARE(sale.save(QDate(2026, 4, 2), 0), key);
        sale.close();
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("MYDATA")),
                 QStringList{"20260402"});
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 2.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 2.0);
        QCOMPARE(storedSaleLines(f).size(), 1);
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMREG")).size(), 1);
        // A sale that is not there says so, and is not saved over the one
        // stored: neither its header, nor lines under the missing number, nor stock.
        const QStringList header = f.column(QStringLiteral("VENDITE"), QStringLiteral("TOTALE")) +
                                   f.column(QStringLiteral("VENDITE"), QStringLiteral("DATADOC"));
        CounterSale missing(*f.shop);
        QVERIFY(!missing.begin(key + 5));
        codeOnRow(missing, 1, saleCode(1, 5));
        QVERIFY_THROWS_EXCEPTION(db::Error, missing.save(QDate(2026, 4, 1), 50));
        missing.cancel();
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("TOTALE")) +
                     f.column(QStringLiteral("VENDITE"), QStringLiteral("DATADOC")),
                 header);
        QCOMPARE(storedSaleLines(f).size(), 1);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 2.0);
    }

    // A stored sale changed without a new receipt keeps a payment that adds up
    // to its new total: the card and voucher parts as paid, the difference in
    // cash, so that the Prima nota books what the sale is worth.
    void changedSaleKeepsItsPaymentWithTheTotal_data() {
        QTest::addColumn<int>("cashPart"); // of 100: the first sale's share
        QTest::addColumn<int>("cardPart");
        QTest::addColumn<int>("voucherPart");
        QTest::addColumn<bool>("bank"); // ISBANCA after the change
        QTest::newRow("cash") << 100 << 0 << 0 << false;
        QTest::newRow("card") << 0 << 100 << 0 << false;
        QTest::newRow("split") << 40 << 60 << 0 << false;
        QTest::newRow("voucher and card") << 0 << 70 << 30 << false;
        QTest::newRow("no split kept") << 0 << 0 << 0 << false;
    }
    void changedSaleKeepsItsPaymentWithTheTotal() {
        QFETCH(int, cashPart);
        QFETCH(int, cardPart);
        QFETCH(int, voucherPart);
        QFETCH(bool, bank);
        ShopFixture f;
        addSaleData(f);
        qint64 key = 0;
        Money first;
        {
            CounterSale sale(*f.shop);
            QVERIFY(sale.begin(0));
            codeOnRow(sale, 1, saleCode(1, 1));
            codeOnRow(sale, 2, saleCode(1, 5));
            first = Money::of(sale.totals(0).net);
            const Money card = Money::fromCents(first.cents() * cardPart / 100);
            const Money voucher = Money::fromCents(first.cents() * voucherPart / 100);
            if (cashPart + cardPart + voucherPart > 0) {
                SaleFiscalRecord record;
                record.payment.tenders = {{PaymentType::Cash, first - card - voucher},
                                          {PaymentType::Card, card},
                                          {PaymentType::Voucher, voucher}};
                sale.setFiscalRecord(record);
            }
            key = sale.save(QDate(2026, 3, 15), 0);
            sale.close();
        }
        const auto money = [&](const char *column) {
            return Money::of(f.column(QStringLiteral("VENDITE"), QString::fromLatin1(column))
                                 .value(0)
                                 .toDouble());
        };
        const Money card = money("PAGELETT");
        const Money voucher = money("PAGBUONO");

        CounterSale sale(*f.shop);
        QVERIFY(sale.begin(key));
        sale.sheet().table().first();
        QVERIFY(sale.deleteLine());
        sale.save(QDate(2026, 3, 15), 0);
        sale.close();
        const Money total = money("TOTALE");
        QVERIFY(total < first);
        QCOMPARE(money("PAGELETT"), card);
        QCOMPARE(money("PAGBUONO"), voucher);
        if (cashPart + cardPart + voucherPart == 0)
            QCOMPARE(money("PAGCONT"), Money());
        else
            QCOMPARE(money("PAGCONT") + card + voucher, total);
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("ISBANCA")).value(0) ==
                     QStringLiteral("True"),
                 bank);
    }

    void sizeChoiceAndCancelOnTheSheet() {
        ShopFixture f;
        addSaleData(f);
        CounterSale sale(*f.shop);
        sale.begin(0);
        QVERIFY(sale.chooseByDescription(QStringLiteral("STIVALE CUOIO")));
        QVERIFY(!sale.chooseByDescription(QStringLiteral("VECCHIO")));
        QCOMPARE(sale.stock().rows().size(), 2);
        QVERIFY(!sale.chooseSize(0, 2));
        QVERIFY(sale.chooseSize(0, 5));
        QCOMPARE(sale.lines().size(), 1);
        QCOMPARE(sale.lines()[0].text(sheet::BARCODE), saleCode(1, 5));
        QCOMPARE(sale.lines()[0].text(sheet::CTAGLIA), QStringLiteral("42"));
        // The next article is given up: its row is empty again.
        QVERIFY(sale.chooseByKey(2));
        sale.cancelSize();
        QCOMPARE(sale.lines().size(), 1);
        // A description longer than 30 characters is stored cut.
        db::Table &t = sale.sheet().table();
        t.first();
        t.edit();
        t.setString(sheet::DESCRIZION, QString(35, u'A'));
        t.post();
        sale.save(QDate(2026, 3, 15), 0);
        sale.close();
        QCOMPARE(storedSaleLines(f)[0].value(QStringLiteral("DESCRIZION")).toString(),
                 QString(30, u'A'));
    }

    void numberingFollowsTheYearAndSharesTheCounter() {
        ShopFixture f;
        addSaleData(f);
        f.clock.setFixedDate(QDate(2026, 1, 2));
        f.add(QStringLiteral("VENDITE"), {{QStringLiteral("NUMREG"), 7},
                                          {QStringLiteral("NUMDOC"), 412},
                                          {QStringLiteral("MYDATA"), QStringLiteral("20251231")}});
        // An invoice took the counter last: the sale follows it.
        f.shop->routines().SetCounter(QStringLiteral("VENDITE"), 9);
        CounterSale sale(*f.shop);
        sale.begin(0);
        QCOMPARE(sale.header().asInteger(doc::NUMDOC), 1);
        codeOnRow(sale, 1, QStringLiteral("800002"));
        QCOMPARE(sale.save(QDate(2026, 1, 2), 0), 10);
        sale.close();
        // Annulla on a new sale leaves no record and takes no number.
        CounterSale other(*f.shop);
        other.begin(0);
        QCOMPARE(other.header().asInteger(doc::NUMDOC), 2);
        other.cancel();
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMREG")).size(), 2);
        QCOMPARE(f.counter(QStringLiteral("VENDITE")), 10);
    }
};

QTEST_MAIN(TestBancoLogic)
#include "tst_banco_logic.moc"
