// Whole counter sales sent to simulated cash registers over a pseudo-terminal:
// the saving protocols store the sale themselves, RCH leaves it to the
// operator, a silent register leaves the sale unsaved and editable, and a
// receipt is never sent twice on its own.

#include "tst_banco_window.h"

#include "RegisterSimulator.h"
#include "purchasing/ReceiptEntry.h"
#include "sales/SaleCheckout.h"
#include "sales/register/RegisterTransmission.h"

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

void configure(ShopFixture &f, SimulatedRegister::Protocol protocol, const QString &device) {
    int brand = 1, model = 1;
    switch (protocol) {
    case SimulatedRegister::Protocol::Ela:
        brand = 1;
        break;
    case SimulatedRegister::Protocol::Dataprocess:
        brand = 2;
        break;
    case SimulatedRegister::Protocol::Epson:
        brand = 8;
        break;
    case SimulatedRegister::Protocol::RchGlobe:
        brand = 4;
        break;
    case SimulatedRegister::Protocol::RchMizar:
        brand = 4;
        model = 2;
        break;
    }
    IniFile &ini = f.shop->ini();
    ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("DEVICE"), device);
    ini.writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"), brand);
    ini.writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("MODELLO"), model);
}

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

} // namespace

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
        RegisterSimulator sim(kind, {}, fastPacing());
        QVERIFY(sim.open());
        ShopFixture f;
        addSaleData(f);
        configure(f, kind, sim.devicePath());
        SaleOpener opener;
        TFBanco w(*f.shop);
        w.setOpener(&opener);
        showSale(w);
        scan(saleCode(1, 1));
        scan(saleCode(1, 5));
        QSignalSpy ended(&w.checkout(), &SaleCheckout::ended);
        sendAndWait(f, w, ended);
        QVERIFY(ended.at(0).at(0).toBool());
        QVERIFY(!sim.messageTexts().isEmpty());
        if (saves) {
            QTRY_VERIFY(!w.isVisible());
            QCOMPARE(opener.codes, QList<int>{1});
        } else {
            // RCH: the operator saves. Sending the same sale again needs a yes.
            QVERIFY(w.isVisible());
            QVERIFY(w.grid().isEnabled());
            QVERIFY(f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMREG")).isEmpty());
            const qsizetype sent = sim.messageTexts().size();
            f.prompter.expectConfirm(SaleCheckout::sentAgainText, false);
            click(w, "Scontrino");
            QVERIFY(!w.isTransmitting());
            QTest::qWait(50);
            QCOMPARE(sim.messageTexts().size(), sent);
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

    void silentRegisterLeavesTheSaleToTheOperator() {
        SimulatedRegister::Options options;
        options.silentAfter = 2;
        RegisterSimulator sim(SimulatedRegister::Protocol::Dataprocess, options, fastPacing());
        QVERIFY(sim.open());
        ShopFixture f;
        addSaleData(f);
        configure(f, SimulatedRegister::Protocol::Dataprocess, sim.devicePath());
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
        RegisterSimulator sim(SimulatedRegister::Protocol::Epson, {}, fastPacing());
        QVERIFY(sim.open());
        ShopFixture f;
        addSaleData(f);
        configure(f, SimulatedRegister::Protocol::Epson, sim.devicePath());
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
        RegisterSimulator sim(SimulatedRegister::Protocol::Ela, {}, fastPacing());
        QVERIFY(sim.open());
        ShopFixture f;
        addSaleData(f);
        configure(f, SimulatedRegister::Protocol::Ela, sim.devicePath());
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
        QVERIFY(sim.messageTexts().size() >= 8);

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
