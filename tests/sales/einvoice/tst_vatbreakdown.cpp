#include "sales/einvoice/EInvoiceSample.h"

#include "sales/einvoice/EInvoiceXml.h"
#include "sales/einvoice/FiscalIdentity.h"
#include "sales/einvoice/SchemaValidator.h"
#include "sales/einvoice/SdiRules.h"
#include "sales/einvoice/VatBreakdown.h"

#include <QRandomGenerator>
#include <QTest>

using namespace corvale;

Q_DECLARE_METATYPE(QList<corvale::VatLine>)

namespace {

// Every promise the breakdown makes, checked on its result.
void checkInvariants(const QList<VatLine> &lines, const VatBreakdown &vat, qint64 total) {
    QCOMPARE(vat.lines().size(), lines.size());
    QCOMPARE(vat.taxable() + vat.tax(), total);
    for (const VatSummary &s : vat.summaries()) {
        qint64 sum = 0;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString nature = lines[i].rate == 0 ? lines[i].nature : QString();
            if (lines[i].rate == s.rate && nature == s.nature)
                sum += vat.lines()[i].net;
        }
        QCOMPARE(sum, s.taxable);
        QVERIFY2(
            std::llabs(s.tax - VatBreakdown::taxOf(s.taxable, s.rate)) <= 1,
            qPrintable(QStringLiteral("tax %1 on %2 at %3").arg(s.tax).arg(s.taxable).arg(s.rate)));
    }
    for (const VatBreakdown::LineAmounts &a : vat.lines()) {
        if (a.quantity == 0 || a.discount >= 10000) {
            QCOMPARE(a.net, 0);
            continue;
        }
        QVERIFY(std::llabs(VatBreakdown::lineNet(a.unitPrice, a.quantity, a.discount) - a.net) <=
                1);
    }
}

} // namespace

class TestVatBreakdown : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splits_data() {
        QTest::addColumn<QList<VatLine>>("lines");
        QTest::addColumn<qint64>("taxable");
        QTest::addColumn<qint64>("tax");
        QTest::addColumn<QList<qint64>>("nets");

        QTest::newRow("122 at 22") << QList<VatLine>{{1, 122, 0, 2200, {}}} << qint64(10000)
                                   << qint64(2200) << QList<qint64>{10000};
        // 3 x 19.99 less 10 % is 53.973: 53.97 with VAT, 44.24 without.
        QTest::newRow("discount and odd cents")
            << QList<VatLine>{{3, 19.99, 10, 2200, {}}, {1, 50, 0, 2200, {}}} << qint64(8522)
            << qint64(1875) << QList<qint64>{4424, 4098};
        // 0.01 at 22 %: no taxable amount makes it, the tax takes the cent.
        QTest::newRow("one cent") << QList<VatLine>{{1, 0.01, 0, 2200, {}}} << qint64(1)
                                  << qint64(0) << QList<qint64>{1};
        QTest::newRow("two rates")
            << QList<VatLine>{{2, 10.05, 0, 1000, {}}, {1, 12.20, 0, 2200, {}}}
            << qint64(1827 + 1000) << qint64(183 + 220) << QList<qint64>{1827, 1000};
        QTest::newRow("without VAT") << QList<VatLine>{{2, 45.5, 0, 0, QStringLiteral("N4")}}
                                     << qint64(9100) << qint64(0) << QList<qint64>{9100};
        QTest::newRow("gift and empty quantity")
            << QList<VatLine>{{1, 30, 100, 2200, {}}, {0, 15, 0, 2200, {}}, {1, 24.4, 0, 2200, {}}}
            << qint64(2000) << qint64(440) << QList<qint64>{0, 0, 2000};
        QTest::newRow("fractional quantity") << QList<VatLine>{{1.5, 9.99, 0, 2200, {}}}
                                             << qint64(1229) << qint64(270) << QList<qint64>{1229};
        // A credit note's lines are given back: negative amounts split the same way.
        QTest::newRow("given back") << QList<VatLine>{{-1, 122, 0, 2200, {}}} << qint64(-10000)
                                    << qint64(-2200) << QList<qint64>{-10000};
        QTest::newRow("surcharge") << QList<VatLine>{{1, 100, -10, 1000, {}}} << qint64(10000)
                                   << qint64(1000) << QList<qint64>{10000};
    }
    void splits() {
        QFETCH(QList<VatLine>, lines);
        QFETCH(qint64, taxable);
        QFETCH(qint64, tax);
        QFETCH(QList<qint64>, nets);
        qint64 total = 0;
        for (const VatLine &l : lines)
            total += VatBreakdown::grossOf(l);
        const auto vat = VatBreakdown::compute(lines, total);
        QVERIFY(vat);
        QCOMPARE(vat->taxable(), taxable);
        QCOMPARE(vat->tax(), tax);
        QList<qint64> gotNets;
        for (const auto &a : vat->lines())
            gotNets << a.net;
        QCOMPARE(gotNets, nets);
        checkInvariants(lines, *vat, total);
    }

    void storedTotalTakesTheCentsOfTheLines() {
        // 9.045 twice: the lines round to 9.05 each, the stored total to 18.09.
        const QList<VatLine> lines{{1, 10.05, 10, 2200, {}}, {1, 10.05, 10, 2200, {}}};
        const auto vat = VatBreakdown::compute(lines, 1809);
        QVERIFY(vat);
        QCOMPARE(vat->total(), 1809);
        checkInvariants(lines, *vat, 1809);
        // A total far from its lines was not saved with them.
        QString error;
        QVERIFY(!VatBreakdown::compute(lines, 2500, &error));
        QVERIFY(error.contains(QStringLiteral("non corrisponde alle sue righe")));
        QVERIFY(!VatBreakdown::compute({{1, 10, 150, 2200, {}}}, -500, &error));
    }

    // A thousand random invoices: mixed rates, discounts, quantities and odd
    // cents, each file free of rejections and valid against the schema.
    void randomInvoices() {
        QRandomGenerator random(20260315);
        SchemaValidator validator;
        const int rates[] = {2200, 1000, 500, 400, 0};
        const double discounts[] = {0, 0, 0, 5, 10, 12.5, 33, 50, 100};
        const double quantities[] = {1, 1, 2, 3, 0.5, 1.25, 7, 12};
        for (int n = 0; n < 1000; ++n) {
            QList<VatLine> lines;
            const int count = random.bounded(1, 9);
            double stored = 0; // as the invoice window sums it
            for (int i = 0; i < count; ++i) {
                VatLine l;
                l.quantity = quantities[random.bounded(8)];
                l.price = random.bounded(1, 100000) / 100.0;
                l.discount = discounts[random.bounded(9)];
                l.rate = rates[random.bounded(5)];
                l.nature = l.rate == 0 ? QStringLiteral("N4") : QString();
                lines << l;
                stored += (1 - l.discount * 0.01) * l.price * l.quantity;
            }
            const qint64 total = VatBreakdown::cents(stored);
            const auto vat = VatBreakdown::compute(lines, total);
            QVERIFY2(vat, qPrintable(QString::number(n)));
            checkInvariants(lines, *vat, total);

            EInvoiceDocument d = sampleInvoice(lines);
            // The document states the stored total, as the export does.
            d.total = total;
            for (qsizetype i = 0; i < d.lines.size(); ++i)
                d.lines[i].amounts = vat->lines()[i];
            d.summaries = vat->summaries();
            for (VatSummary &s : d.summaries) {
                if (!s.nature.isEmpty())
                    s.reference = QStringLiteral("Art. 10 DPR 633/72");
            }
            const QByteArray xml = EInvoiceXml::write(d);
            const auto problems = SdiRules::check(xml);
            QVERIFY2(problems.isEmpty(),
                     qPrintable(QString::number(n) + u' ' + problems.value(0).code + u' ' +
                                problems.value(0).message));
            const QStringList invalid = validator.validate(xml);
            QVERIFY2(invalid.isEmpty(), qPrintable(invalid.join(u'\n')));
        }
    }

    void amountTexts() {
        QCOMPARE(EInvoiceXml::amount2(12345), QStringLiteral("123.45"));
        QCOMPARE(EInvoiceXml::amount2(-5), QStringLiteral("-0.05"));
        QCOMPARE(EInvoiceXml::amount8(1638518519), QStringLiteral("16.38518519"));
        QCOMPARE(EInvoiceXml::amount8(913500000), QStringLiteral("9.135"));
        QCOMPARE(EInvoiceXml::amount8(4000000000), QStringLiteral("40.00"));
        QCOMPARE(EInvoiceXml::quantity(1500), QStringLiteral("1.50"));
        QCOMPARE(EInvoiceXml::quantity(1250), QStringLiteral("1.25"));
        QCOMPARE(EInvoiceXml::quantity(1125), QStringLiteral("1.125"));
        QCOMPARE(EInvoiceXml::rate(2200), QStringLiteral("22.00"));
    }

    void textsKeepToLatin1() {
        QCOMPARE(EInvoiceXml::latin(QStringLiteral("Maglia “Più” – 10 €"), 100),
                 QStringLiteral("Maglia \"Più\" - 10 EUR"));
        QCOMPARE(EInvoiceXml::latin(QStringLiteral("Ω\tè"), 100), QStringLiteral("? è"));
        QCOMPARE(EInvoiceXml::basicLatin(QStringLiteral("7/è"), 20), QStringLiteral("7/?"));
        QCOMPARE(EInvoiceXml::latin(QStringLiteral("ABCDEFG"), 3), QStringLiteral("ABC"));
    }

    void fiscalIdentity_data() {
        QTest::addColumn<QString>("vat");
        QTest::addColumn<QString>("fiscal");
        QTest::addColumn<QString>("old");
        QTest::addColumn<QString>("vatNumber");
        QTest::addColumn<QString>("fiscalCode");
        QTest::newRow("old partita IVA") << ""
                                         << ""
                                         << "01234567897"
                                         << "01234567897"
                                         << "";
        QTest::newRow("old with IT") << ""
                                     << ""
                                     << "it 01234567897"
                                     << "01234567897"
                                     << "";
        QTest::newRow("old codice fiscale") << ""
                                            << ""
                                            << "rssmra80a41f205x"
                                            << ""
                                            << "RSSMRA80A41F205X";
        QTest::newRow("old neither") << ""
                                     << ""
                                     << "IT1"
                                     << ""
                                     << "";
        QTest::newRow("new fields win") << "01234567897"
                                        << ""
                                        << "RSSMRA80A41F205X"
                                        << "01234567897"
                                        << "";
        QTest::newRow("both new") << "01234567897"
                                  << "01234567897"
                                  << ""
                                  << "01234567897"
                                  << "01234567897";
    }
    void fiscalIdentity() {
        QFETCH(QString, vat);
        QFETCH(QString, fiscal);
        QFETCH(QString, old);
        const FiscalIdentity id = FiscalIdentity::of(vat, fiscal, old);
        QTEST(id.vatNumber, "vatNumber");
        QTEST(id.fiscalCode, "fiscalCode");
    }

    void fiscalChecks() {
        QVERIFY(FiscalIdentity::isValidVatNumber(QStringLiteral("01234567897")));
        QVERIFY(!FiscalIdentity::isValidVatNumber(QStringLiteral("01234567890")));
        QVERIFY(!FiscalIdentity::isValidVatNumber(QStringLiteral("0123456789")));
        const QString first15 = QStringLiteral("RSSMRA80A41F205");
        const QString code = first15 + FiscalIdentity::checkCharacter(first15);
        QVERIFY(FiscalIdentity::isValidFiscalCode(code));
        QVERIFY(!FiscalIdentity::isValidFiscalCode(first15 +
                                                   QChar(code[15].unicode() == 'A' ? 'B' : 'A')));
        QVERIFY(FiscalIdentity::isValidFiscalCode(QStringLiteral("01234567897")));
    }
};

QTEST_GUILESS_MAIN(TestVatBreakdown)
#include "tst_vatbreakdown.moc"
