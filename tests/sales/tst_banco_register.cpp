// Whole counter sales sent to simulated cash registers over a pseudo-terminal:
// the saving protocols store the sale themselves, RCH leaves it to the
// operator, a silent register leaves the sale unsaved and editable, and a
// receipt is never sent twice on its own.

#include "tst_banco_window.h"

#include "RegisterSimulator.h"
#include "RtHttpServer.h"
#include "SimulatedEpsonRt.h"
#include "catalogue/CampaignBook.h"
#include "catalogue/PriceHistory.h"
#include "common/ShopRt.h"
#include "purchasing/ReceiptEntry.h"
#include "register/NetworkFiscalDevice.h"
#include "register/RegisterTransmission.h"
#include "sales/SaleCheckout.h"
#include "sales/SalePayment.h"
#include "sales/SaleVoid.h"

#include <QComboBox>
#include <QSignalSpy>

using namespace corvale;
using sim::RegisterSimulator;
using sim::SimulatedRegister;
using testing::click;

namespace {

constexpr int tickMs = 5;

RegisterSimulator::Pacing fastPacing() {
    RegisterSimulator::Pacing p;
    p.replyDelayMs = 6 * tickMs;
    p.closeDelayMs = 20 * tickMs;
    return p;
}

// The make and model the shop's settings name for each protocol.
struct RegisterModel {
    SimulatedRegister::Protocol protocol;
    int brand;
    int model;
};
const RegisterModel registerModels[] = {{SimulatedRegister::Protocol::Ela, 1, 1},
                                        {SimulatedRegister::Protocol::Dataprocess, 2, 1},
                                        {SimulatedRegister::Protocol::Epson, 8, 1},
                                        {SimulatedRegister::Protocol::RchGlobe, 4, 1},
                                        {SimulatedRegister::Protocol::RchMizar, 4, 2}};

void configure(ShopFixture &f, SimulatedRegister::Protocol protocol, const QString &device) {
    int brand = 1, model = 1;
    for (const RegisterModel &m : registerModels)
        if (m.protocol == protocol) {
            brand = m.brand;
            model = m.model;
        }
    IniFile &ini = f.shop->ini();
    ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("DEVICE"), device);
    ini.writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"), brand);
    ini.writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("MODELLO"), model);
}

// A register on a pseudo-terminal and the shop of the sale tests pointed at it.
struct SerialShop {
    SimulatedRegister::Protocol protocol;
    RegisterSimulator sim;
    ShopFixture f;

    explicit SerialShop(SimulatedRegister::Protocol p,
                        const SimulatedRegister::Options &options = {})
        : protocol(p)
        , sim(p, options, fastPacing()) {}
    bool open() {
        if (!sim.open())
            return false;
        addSaleData(f);
        configure(f, protocol, sim.devicePath());
        return true;
    }
};

// "Scontrino", then checks that the sale waits while the receipt travels.
void sendAndWait(ShopFixture &f, TFBanco &w, QSignalSpy &ended, const QString &endError = {}) {
    w.checkout().transmission().setTickInterval(tickMs);
    click(w, "Scontrino");
    QVERIFY(w.isTransmitting());
    QVERIFY(!w.grid().isEnabled());
    // A second "Scontrino", "Salva" and "Annulla" are refused meanwhile.
    for (const char *name : {"Scontrino", "Salva", "Annulla"}) {
        f.prompter.expectError(SaleCheckout::busyText);
        click(w, name);
    }
    f.prompter.expectError(SaleCheckout::busyText);
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    if (!endError.isEmpty())
        f.prompter.expectError(endError);
    QVERIFY(ended.wait(20000));
}

// --- Telematic register ---
// A test of a silent register shortens the wait in `configure`.
struct RtRig : testing::ShopRt<sim::SimulatedEpsonRt> {
    RtRig()
        : ShopRt(QDateTime(QDate(2026, 3, 5), QTime(10, 30))) {}
};

void choosePayment(TFBanco &w, int mode, const QString &cardPart, const QString &lottery) {
    testing::child<QComboBox>(w, "Pagamento")->setCurrentIndex(mode);
    testing::child<QLineEdit>(w, "ImportoElettronico")->setText(cardPart);
    testing::child<QLineEdit>(w, "Lotteria")->setText(lottery);
}

} // namespace

Q_DECLARE_METATYPE(QList<QStringList>)

class TestBancoRegister : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void completeSaleEachProtocol_data() {
        QTest::addColumn<int>("protocol");
        QTest::addColumn<bool>("saves");
        using P = SimulatedRegister::Protocol;
        QTest::newRow("ela") << int(P::Ela) << true;
        QTest::newRow("dataprocess") << int(P::Dataprocess) << true;
        QTest::newRow("epson") << int(P::Epson) << true;
        QTest::newRow("rch-globe") << int(P::RchGlobe) << false;
        QTest::newRow("rch-mizar") << int(P::RchMizar) << false;
    }

    void completeSaleEachProtocol() {
        QFETCH(int, protocol);
        QFETCH(bool, saves);
        const auto kind = SimulatedRegister::Protocol(protocol);
        SerialShop serial(kind);
        QVERIFY(serial.open());
        ShopFixture &f = serial.f;
        SaleOpener opener;
        TFBanco w(*f.shop);
        w.setOpener(&opener);
        showSale(w);
        scan(saleCode(1, 1));
        scan(saleCode(1, 5));
        QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
        sendAndWait(f, w, ended);
        QVERIFY(ended.at(0).at(0).toBool());
        QVERIFY(!serial.sim.messageTexts().isEmpty());
        if (saves) {
            QTRY_VERIFY(!w.isVisible());
            QCOMPARE(opener.codes, QList<int>{1});
        } else {
            // RCH: the operator saves. Sending the same sale again needs a yes.
            QVERIFY(w.isVisible());
            QVERIFY(w.grid().isEnabled());
            QVERIFY(f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMREG")).isEmpty());
            const qsizetype sent = serial.sim.messageTexts().size();
            f.prompter.expectConfirm(SaleCheckout::sentAgainText, false);
            click(w, "Scontrino");
            QVERIFY(!w.isTransmitting());
            QTest::qWait(50);
            QCOMPARE(serial.sim.messageTexts().size(), sent);
            click(w, "Salva");
            QVERIFY(!w.isVisible());
        }
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("TOTALE")),
                 QStringList{"113.81"});
        QCOMPARE(storedSaleLines(f).size(), 2);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 1.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 2.0);
        QVERIFY(f.prompter.done());
    }

    // A sale to the telematic register is stored at once with the number the
    // register gave it and how it was paid.
    void telematicSale_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("cardPart");
        QTest::addColumn<QString>("lottery");
        QTest::addColumn<QString>("cashTyped"); // with "Calcolo del resto"
        QTest::addColumn<QString>("customerCard");
        QTest::addColumn<QStringList>("totals"); // the register's payment lines
        QTest::addColumn<QStringList>("stored"); // PAGCONT PAGELETT ISBANCA LOTTERIA CFCLIENTE
        auto total = [](const char *d, const char *paid, int type, int index) {
            return QStringLiteral("printRecTotal operator=1 description=%1 payment=%2 "
                                  "paymentType=%3 index=%4 justification=2")
                .arg(QLatin1String(d), QLatin1String(paid))
                .arg(type)
                .arg(index);
        };
        QTest::newRow("cash") << 0 << QString() << QString() << QString() << QString()
                              << QStringList{total("CONTANTI", "113,81", 0, 0)}
                              << QStringList{"113.81", "0", "False", "", ""};
        QTest::newRow("card, lottery")
            << 1 << QString() << QStringLiteral("AB12CD34") << QString() << QString()
            << QStringList{QStringLiteral("printRecLotteryID operator=1 code=AB12CD34"),
                           total("ELETTRONICO", "113,81", 2, 1)}
            << QStringList{"0", "113.81", "True", "AB12CD34", ""};
        QTest::newRow("split, change on the cash part")
            << 2 << QStringLiteral("100") << QString() << QStringLiteral("20")
            << QStringLiteral("CARD100")
            << QStringList{QStringLiteral("printRecMessage operator=1 messageType=4 "
                                          "message=C.F. CLIENTE: BNCMRA80A01H501Z"),
                           total("ELETTRONICO", "100,00", 2, 1), total("CONTANTI", "20,00", 0, 0)}
            << QStringList{"13.81", "100", "False", "", "BNCMRA80A01H501Z"};
    }
    void telematicSale() {
        QFETCH(int, mode);
        QFETCH(QString, cardPart);
        QFETCH(QString, lottery);
        QFETCH(QString, cashTyped);
        QFETCH(QString, customerCard);
        QFETCH(QStringList, totals);
        QFETCH(QStringList, stored);
        RtRig rig;
        ShopFixture f;
        addSaleData(f);
        rig.configure(f);
        {
            db::Table customers(f.db());
            customers.setTableName(QStringLiteral("CLIENTI"));
            customers.open();
            customers.first();
            customers.edit();
            customers.setString(QStringLiteral("CODFISC"), QStringLiteral("bncmra80a01h501z"));
            customers.post();
        }
        if (!cashTyped.isEmpty())
            f.shop->ini().writeBool(QStringLiteral("GENERALI"), QStringLiteral("CALCRESTO"), true);
        SaleOpener opener;
        TFBanco w(*f.shop);
        w.setOpener(&opener);
        showSale(w);
        if (!customerCard.isEmpty()) {
            testing::type(w, "Carta", customerCard);
            QTest::keyClick(testing::child<QLineEdit>(w, "Carta"), Qt::Key_Return);
            w.grid().setFocus();
        }
        scan(saleCode(1, 1));
        scan(saleCode(1, 5));
        choosePayment(w, mode, cardPart, lottery);
        if (!cashTyped.isEmpty())
            f.prompter
                .expectInput(QStringLiteral("Pagamento"), QStringLiteral("Contanti"), cashTyped)
                .expectInformation(QStringLiteral("RESTO:\r\r") + QChar(0x20AC) +
                                   QStringLiteral("      6,19"));
        QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
        click(w, "Scontrino");
        QVERIFY(ended.wait(10000));
        QTRY_VERIFY(!w.isVisible());
        QCOMPARE(opener.codes, QList<int>{1});

        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 1);
        QCOMPARE(printed.at(0).total.cents(), qint64(11381));
        QStringList tail = printed.at(0).lines();
        tail = tail.mid(tail.size() - 1 - totals.size(), totals.size());
        QCOMPARE(tail, totals);

        QCOMPARE(saleValue(f, QStringLiteral("TOTALE")), QStringLiteral("113.81"));
        QCOMPARE(saleValue(f, QStringLiteral("RTNUMERO")), QStringLiteral("1"));
        QCOMPARE(saleValue(f, QStringLiteral("RTCHIUSURA")), QStringLiteral("12"));
        QCOMPARE(saleValue(f, QStringLiteral("RTORA")), QStringLiteral("10:30:00"));
        QCOMPARE(saleValue(f, QStringLiteral("RTMATRIC")), QStringLiteral("99MEX000001"));
        const QStringList columns{"PAGCONT", "PAGELETT", "ISBANCA", "LOTTERIA", "CFCLIENTE"};
        for (int i = 0; i < columns.size(); ++i)
            QCOMPARE(saleValue(f, columns.at(i)), stored.at(i));
        QCOMPARE(storedSaleLines(f).size(), 2);
        QVERIFY(f.prompter.done());
    }

    // A line sold at a campaign's price reaches the register at the lowest
    // price of the 30 days before the campaign, less the reduction announced
    // against it; the line of another article keeps its own discount.
    void telematicSaleDuringACampaign() {
        RtRig rig;
        ShopFixture f;
        addSaleData(f);
        rig.configure(f);
        // STIVALE CUOIO sold at 59,90 until its own 5 % came on 01/03; the
        // campaign takes 30 % off the list price from today (15/03).
        PriceHistory(f.db()).record(1, QDate(2026, 1, 10), 59.9, 0, PriceHistory::cardCause());
        PriceHistory(f.db()).record(1, QDate(2026, 3, 1), 59.9, 5, PriceHistory::cardCause());
        Campaign c;
        c.name = QStringLiteral("SALDI");
        c.first = QDate(2026, 3, 15);
        c.last = QDate(2026, 3, 20);
        c.selection = CampaignSelection::Articles;
        c.articles = {1};
        c.percent = 30;
        CampaignBook(f.db()).save(c);

        TFBanco w(*f.shop);
        showSale(w);
        scan(saleCode(1, 1));
        scan(saleCode(1, 5));
        scan(saleCode(1, 1, 2));
        QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
        click(w, "Scontrino");
        QVERIFY(ended.wait(10000));
        QTRY_VERIFY(!w.isVisible());

        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 1);
        const QString boot = QStringLiteral(
            "printRecItem operator=1 description=STIVALE CUOIO quantity=1 unitPrice=56,91 "
            "department=1 justification=1");
        const QString reduction =
            QStringLiteral("printRecItemAdjustment operator=1 adjustmentType=0 "
                           "description=SALDI -26% amount=14,98 department=1 justification=1");
        const QString previous = QStringLiteral(
            "printRecMessage operator=1 messageType=4 message=Prezzo precedente € 56,91");
        const QStringList expected{
            QStringLiteral("beginFiscalReceipt operator=1"),
            boot,
            reduction,
            previous,
            boot,
            reduction,
            previous,
            QStringLiteral("printRecItem operator=1 description=SANDALO quantity=1 "
                           "unitPrice=59,90 department=1 justification=1"),
            QStringLiteral("printRecItemAdjustment operator=1 adjustmentType=0 "
                           "description=SCONTO 5% amount=2,99 department=1 justification=1"),
            QStringLiteral("printRecTotal operator=1 description=CONTANTI payment=140,77 "
                           "paymentType=0 index=0 justification=2"),
            QStringLiteral("endFiscalReceipt operator=1")};
        QCOMPARE(printed.at(0).lines(), expected);
        // 2 x 41,93 + 56,905: the register's total is the stored one.
        QCOMPARE(printed.at(0).total.cents(), qint64(14077));
        QCOMPARE(saleValue(f, QStringLiteral("TOTALE")), QStringLiteral("140.77"));
        QVERIFY(f.prompter.done());
    }

    // The counter's own checks, before anything goes to the register.
    void telematicSaleRefusals_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("cardPart");
        QTest::addColumn<QString>("lottery");
        QTest::addColumn<QString>("message");
        QTest::newRow("lottery too short")
            << 1 << QString() << QStringLiteral("AB12") << SalePaymentChoice::lotteryText;
        QTest::newRow("lottery with cash")
            << 0 << QString() << QStringLiteral("AB12CD34") << SalePaymentChoice::lotteryCashText;
        QTest::newRow("card part not a number")
            << 2 << QStringLiteral("dieci") << QString() << SalePaymentChoice::cardPartText;
        QTest::newRow("card part the whole total")
            << 2 << QStringLiteral("113,81") << QString() << SalePaymentChoice::cardPartText;
        QTest::newRow("card part zero")
            << 2 << QStringLiteral("0") << QString() << SalePaymentChoice::cardPartText;
    }
    void telematicSaleRefusals() {
        QFETCH(int, mode);
        QFETCH(QString, cardPart);
        QFETCH(QString, lottery);
        QFETCH(QString, message);
        RtRig rig;
        ShopFixture f;
        addSaleData(f);
        rig.configure(f);
        TFBanco w(*f.shop);
        showSale(w);
        scan(saleCode(1, 1));
        scan(saleCode(1, 5));
        choosePayment(w, mode, cardPart, lottery);
        f.prompter.expectError(message);
        click(w, "Scontrino");
        QVERIFY(!w.isTransmitting());
        QCOMPARE(rig.rt.requests(), 0);
        QVERIFY(f.prompter.done());
    }

    // An answer lost after the register printed: the register is asked, the
    // sale is stored with its number; when it cannot tell, the sale stays
    // unsaved and editable and is not sent again without the operator.
    void telematicLostAnswer() {
        for (const bool checkAnswered : {true, false}) {
            RtRig rig;
            ShopFixture f;
            addSaleData(f);
            rig.configure(f, checkAnswered ? 10000 : 1000);
            rig.rt.failReceipts(sim::SimulatedEpsonRt::Fault::LostAfterPrint);
            if (!checkAnswered)
                QObject::connect(&rig.server, &sim::RtHttpServer::requestHandled, &rig.server,
                                 [&rig, n = 0](const QString &) mutable {
                                     if (++n == 2)
                                         rig.rt.silenceQueries(1);
                                 });
            SaleOpener opener;
            TFBanco w(*f.shop);
            w.setOpener(&opener);
            showSale(w);
            scan(saleCode(1, 1));
            QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
            if (!checkAnswered)
                f.prompter.expectError(NetworkFiscalDevice::unconfirmedText);
            click(w, "Scontrino");
            QVERIFY(ended.wait(10000));
            QCOMPARE(rig.rt.receipts().size(), 1);
            if (checkAnswered) {
                QTRY_VERIFY(!w.isVisible());
                QCOMPARE(saleValue(f, QStringLiteral("RTNUMERO")), QStringLiteral("1"));
            } else {
                QVERIFY(w.isVisible());
                QVERIFY(w.grid().isEnabled());
                QVERIFY(f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMREG")).isEmpty());
                const int requests = rig.rt.requests();
                f.prompter.expectConfirm(SaleCheckout::unconfirmedAgainText, false);
                click(w, "Scontrino");
                QVERIFY(!w.isTransmitting());
                QCOMPARE(rig.rt.requests(), requests);
            }
            QVERIFY(f.prompter.done());
        }
    }

    // "Annullo": the register voids the receipt quoting it, the void is
    // stored as a negative copy with the stock back, and never twice.
    void telematicVoid() {
        RtRig rig;
        ShopFixture f;
        addSaleData(f);
        rig.configure(f);
        {
            TFBanco w(*f.shop);
            showSale(w);
            scan(saleCode(1, 1));
            scan(saleCode(1, 5));
            choosePayment(w, 1, {}, {});
            QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
            click(w, "Scontrino");
            QVERIFY(ended.wait(10000));
            QTRY_VERIFY(!w.isVisible());
        }
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 1.0);
        const qint64 key =
            f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMREG")).value(0).toLongLong();
        QVERIFY(key > 0);

        SaleVoid annul(*f.shop);
        QString reason;
        const auto quoted = annul.quote(key, &reason);
        QVERIFY(quoted);
        QCOMPARE(quoted->number, 1);
        QCOMPARE(quoted->closure, 12);
        QSignalSpy finished(&annul, &SaleVoid::finished);
        QVERIFY(annul.start(key, *quoted));
        QVERIFY(finished.wait(10000));
        QVERIFY(finished.at(0).at(0).toBool());
        const qint64 copy = finished.at(0).at(1).toLongLong();
        QVERIFY(copy > key);

        const auto printed = rig.rt.receipts();
        QCOMPARE(printed.size(), 2);
        QCOMPARE(printed.at(1).kind, sim::SimulatedEpsonRt::Document::Kind::Void);
        QCOMPARE(printed.at(1).lines(),
                 (QStringList{QStringLiteral("printRecMessage operator=1 messageType=4 "
                                             "message=VOID 0012 0001 05032026 99MEX000001"),
                              QStringLiteral("beginFiscalReceipt operator=1"),
                              QStringLiteral("endFiscalReceipt operator=1")}));
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("TOTALE")),
                 (QStringList{"113.81", "-113.81"}));
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("PAGELETT")),
                 (QStringList{"113.81", "-113.81"}));
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("RIFVEN")),
                 (QStringList{QString::number(copy), QString::number(key)}));
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("RTNUMERO")),
                 (QStringList{"1", "2"}));
        QCOMPARE(storedSaleLines(f).size(), 4);
        // The goods are back in stock.
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 2.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 3.0);

        // Never twice; the void itself is no sale to void.
        QVERIFY(!annul.quote(key, &reason));
        QCOMPARE(reason, SaleVoid::alreadyVoidedText);
        QVERIFY(!annul.quote(copy, &reason));
        QCOMPARE(reason, SaleVoid::isVoidText);
        QVERIFY(!annul.quote(copy + 100, &reason));
        QCOMPARE(reason, SaleVoid::noDocumentText);
        QVERIFY(f.prompter.done());
    }

    void silentRegisterLeavesTheSaleToTheOperator() {
        SimulatedRegister::Options options;
        options.silentAfter = 2;
        SerialShop serial(SimulatedRegister::Protocol::Dataprocess, options);
        QVERIFY(serial.open());
        ShopFixture &f = serial.f;
        TFBanco w(*f.shop);
        showSale(w);
        scan(saleCode(1, 1));
        QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
        sendAndWait(f, w, ended, RegisterTransmission::silentText);
        QVERIFY(!ended.at(0).at(0).toBool());
        // Nothing stored, nothing sent again on its own; the sale can be changed.
        QTest::qWait(100);
        QVERIFY(w.isVisible());
        QVERIFY(!w.isTransmitting());
        QVERIFY(w.grid().isEnabled());
        QVERIFY(f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMREG")).isEmpty());
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 2.0);
        scan(saleCode(1, 5));
        QCOMPARE(w.sale().lines().size(), 2);
        click(w, "Salva");
        QCOMPARE(storedSaleLines(f).size(), 2);

        // A port that does not open: said once, the sale still waits.
        ShopFixture g;
        addSaleData(g);
        g.shop->ini().writeString(QStringLiteral("REGCASSA"), QStringLiteral("DEVICE"),
                                  g.dir.filePath(QStringLiteral("nessuna-porta")));
        TFBanco other(*g.shop);
        showSale(other);
        scan(saleCode(1, 1));
        g.prompter.expectError(RegisterTransmission::openFailedText);
        click(other, "Scontrino");
        QVERIFY(!other.isTransmitting());
        QVERIFY(other.grid().isEnabled());
        QVERIFY(g.prompter.done());
        QVERIFY(f.prompter.done());
    }

    void transmissionSurvivesHiding() {
        SerialShop serial(SimulatedRegister::Protocol::Epson);
        QVERIFY(serial.open());
        ShopFixture &f = serial.f;
        TFBanco w(*f.shop);
        showSale(w);
        scan(saleCode(2, 2));
        QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
        w.checkout().transmission().setTickInterval(tickMs);
        click(w, "Scontrino");
        // Another window takes the panel: the receipt goes on and the sale is saved.
        w.hide();
        QVERIFY(ended.wait(20000));
        QTRY_COMPARE(storedSaleLines(f).size(), 1);
        QCOMPARE(stockCell(f, 1, QStringLiteral("BLU"), 2), 0.0);
        QVERIFY(f.prompter.done());
    }

    // Three scanned line barcodes, a fourth article through the size panel,
    // the customer's card, a discount, the change and the register: the sale
    // is stored, the stock lowered and the customer's points grow.
    void aDayAtTheCounter() {
        SerialShop serial(SimulatedRegister::Protocol::Ela);
        QVERIFY(serial.open());
        ShopFixture &f = serial.f;
        f.shop->ini().writeBool(QStringLiteral("GENERALI"), QStringLiteral("CALCRESTO"), true);
        SaleOpener opener;
        TFBanco w(*f.shop);
        w.setOpener(&opener);
        showSale(w);
        scan(saleCode(1, 1));
        scan(saleCode(1, 5));
        scan(saleCode(2, 2));
        typeArticle(w, QStringLiteral("STIVALE CUOIO"));
        clickStockCell(w, 0, 5);
        QCOMPARE(w.sale().lines().size(), 4);

        QLineEdit *card = testing::child<QLineEdit>(w, "Carta");
        testing::type(w, "Carta", QStringLiteral("CARD100"));
        QTest::keyClick(card, Qt::Key_Return);
        QCOMPARE(labelText(w, "Punteggio"), QStringLiteral("-20"));
        testing::type(w, "Sconto", QStringLiteral("10"));
        QCOMPARE(labelText(w, "Totale"), QStringLiteral("204,86"));

        f.prompter.expectInput(QStringLiteral("Pagamento"), QStringLiteral("Contanti"),
                               QStringLiteral("250"));
        f.prompter.expectInformation(QStringLiteral("RESTO:\r\r€     45,14"));
        QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
        sendAndWait(f, w, ended);
        QTRY_VERIFY(!w.isVisible());
        QCOMPARE(opener.codes, QList<int>{1});
        QVERIFY(serial.sim.messageTexts().size() >= 8);

        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("TOTALE")),
                 QStringList{"204.86"});
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMCLI")), QStringList{"1"});
        QCOMPARE(storedSaleLines(f).size(), 4);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), 1.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 5), 1.0);
        QCOMPARE(stockCell(f, 1, QStringLiteral("BLU"), 2), 0.0);

        // The next sale credits the points: trunc(204.86) - 20 used.
        TFBanco next(*f.shop);
        showSale(next);
        testing::type(next, "Carta", QStringLiteral("CARD100"));
        QTest::keyClick(testing::child<QLineEdit>(next, "Carta"), Qt::Key_Return);
        QCOMPARE(labelText(next, "Punteggio"), QStringLiteral("184"));
        click(next, "Annulla");
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestBancoRegister)
#include "tst_banco_register.moc"
