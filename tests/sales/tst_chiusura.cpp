// "REGISTRATORE TELEMATICO": the daily reading and closure against the Epson
// RT simulator, driven through the window's buttons; a closure is stored.

#include "RtHttpServer.h"
#include "SimulatedEpsonRt.h"
#include "common/ShopFixture.h"
#include "common/ShopRt.h"
#include "common/Widgets.h"
#include "register/NetworkFiscalDevice.h"
#include "sales/DailyClosure.h"
#include "sales/TFChiusura.h"

#include <QPushButton>
#include <QTest>

using namespace corvale;
using testing::click;

namespace {

const QDateTime shopTime(QDate(2026, 3, 15), QTime(19, 45));

// The day open since the morning.
struct Rig : testing::ShopRt<sim::SimulatedEpsonRt> {
    Rig()
        : ShopRt(shopTime, 12, 10) {}
    // A sale of the day, straight to the register.
    void sell(qint64 cents) {
        NetworkFiscalDevice device(std::make_unique<EpsonRtDialect>());
        RegisterSettings s;
        s.address = server.address();
        s.departments = RegisterSettings::defaultDepartments();
        device.setSettings(s);
        bool done = false;
        QObject::connect(&device, &FiscalDevice::finished,
                         [&](const FiscalOutcome &) { done = true; });
        const double amount = cents / 100.0;
        device.begin();
        device.line(QStringLiteral("MAGLIA"), 1, amount, 22, amount);
        device.subtotalDiscount(0, 0, amount);
        device.payment(PaymentType::Cash, Money::fromCents(cents));
        device.end();
        QTRY_VERIFY(done);
    }
};

} // namespace

class TestChiusura : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void readingAndClosure() {
        Rig rig;
        ShopFixture f;
        rig.configure(f);
        rig.sell(1990);
        rig.sell(1010);
        TFChiusura w(*f.shop);
        w.show();

        click(w, "BLettura");
        QTRY_VERIFY(child<QPushButton>(w, "BLettura")->isEnabled());
        QCOMPARE(w.answerText(), QStringLiteral("Lettura giornaliera eseguita (chiusura n. 12 in "
                                                "corso).\nTotale fin qui: € 30,00"));
        QVERIFY(f.column(QStringLiteral("CHIUSURE"), QStringLiteral("NUMERO")).isEmpty());

        // "No" to the question: nothing goes to the register.
        const int requests = rig.rt.requests();
        f.prompter.expectConfirm(TFChiusura::confirmZText, false);
        click(w, "BChiusura");
        QCOMPARE(rig.rt.requests(), requests);

        f.prompter.expectConfirm(TFChiusura::confirmZText, true);
        click(w, "BChiusura");
        QTRY_VERIFY(child<QPushButton>(w, "BChiusura")->isEnabled());
        QCOMPARE(
            w.answerText(),
            QStringLiteral("Chiusura giornaliera n. 12 eseguita.\nTotale del giorno: € 30,00"));
        QCOMPARE(rig.rt.closure(), 13);
        QCOMPARE(f.column(QStringLiteral("CHIUSURE"), QStringLiteral("NUMERO")),
                 QStringList{QStringLiteral("12")});
        QCOMPARE(f.column(QStringLiteral("CHIUSURE"), QStringLiteral("TOTALE")),
                 QStringList{QStringLiteral("30")});
        QCOMPARE(f.column(QStringLiteral("CHIUSURE"), QStringLiteral("MYDATA")),
                 QStringList{QStringLiteral("20260315")});
        QCOMPARE(f.column(QStringLiteral("CHIUSURE"), QStringLiteral("MATRICOLA")),
                 QStringList{QStringLiteral("99MEX000001")});

        click(w, "BStato");
        QTRY_VERIFY(child<QPushButton>(w, "BStato")->isEnabled());
        QVERIFY2(w.answerText().startsWith(QStringLiteral("Registratore pronto.\nMatricola: "
                                                          "99MEX000001\nUltimo documento: n. 0, "
                                                          "chiusura n. 13")),
                 qPrintable(w.answerText()));
        QVERIFY(f.prompter.done());
    }

    void noTelematicRegisterOrNoAnswer() {
        ShopFixture f;
        TFChiusura w(*f.shop);
        w.show();
        f.prompter.expectError(DailyClosure::notTelematicText);
        click(w, "BLettura");
        QVERIFY(child<QPushButton>(w, "BLettura")->isEnabled());

        IniFile &ini = f.shop->ini();
        ini.writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"), 9);
        ini.writeString(QStringLiteral("REGCASSA"), QStringLiteral("INDIRIZZO"),
                        QStringLiteral("127.0.0.1:1"));
        f.prompter.expectConfirm(TFChiusura::confirmZText, true)
            .expectError(NetworkFiscalDevice::unreachableText(QStringLiteral("127.0.0.1:1")));
        click(w, "BChiusura");
        QTRY_VERIFY(child<QPushButton>(w, "BChiusura")->isEnabled());
        QVERIFY(f.column(QStringLiteral("CHIUSURE"), QStringLiteral("NUMERO")).isEmpty());
        QVERIFY(f.prompter.done());
    }

private:
    template <typename T> static T *child(QWidget &w, const char *name) {
        return testing::child<T>(w, name);
    }
};

QTEST_MAIN(TestChiusura)
#include "tst_chiusura.moc"
