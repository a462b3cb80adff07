#include "RchRtLine.h"
#include "RchRtServer.h"
#include "RchServiceCgi.h"
#include "RegisterSimulator.h"
#include "RtHttpServer.h"
#include "SimulatedCustomRt.h"
#include "common/Widgets.h"
#include "db/Database.h"
#include "db/Table.h"
#include "platform/ScriptedPrompter.h"
#include "register/NetworkFiscalDevice.h"
#include "schema/DataFolderSchema.h"
#include "shell/Shop.h"
#include "shell/TFConfig.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace corvale;

namespace {

struct Fixture {
    QTemporaryDir dir;
    Clock clock{QDate(2026, 3, 15)};
    ScriptedPrompter prompter;
    Shop shop{ProgramFolder(dir.path()), clock, prompter};

    Fixture() {
        shop.setTableLayouts(allTableLayouts());
        shop.openDatabase();
    }

    int configRecords() {
        db::Table t(shop.database());
        t.setTableName(QStringLiteral("CONFIG"));
        t.open();
        return t.recordCount();
    }

    QString configValue(const QString &field) {
        db::Table t(shop.database());
        t.setTableName(QStringLiteral("CONFIG"));
        t.open();
        t.first();
        return t.asString(field);
    }

    void emptyConfig() {
        db::Table t(shop.database());
        t.setTableName(QStringLiteral("CONFIG"));
        t.open();
        t.emptyTable();
    }
};

using testing::child;
using testing::click;
using testing::type;

} // namespace

class TestTFConfig : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstUseWithEmptyConfig() {
        Fixture f;
        f.emptyConfig();
        TFConfig config(f.shop);
        config.show();
        QVERIFY(QTest::qWaitForWindowActive(&config));
        QTRY_COMPARE(QApplication::focusWidget(),
                     static_cast<QWidget *>(child<QLineEdit>(config, "RAGIONE")));
        type(config, "RAGIONE", QStringLiteral("BOUTIQUE"));
        click(config, "BAnnulla");
        QVERIFY(!config.isVisible());
        QCOMPARE(f.configRecords(), 0); // cancelled: the table stays empty

        config.show();
        type(config, "RAGIONE", QStringLiteral("BOUTIQUE ROSA"));
        type(config, "EURO", QStringLiteral("2"));
        type(config, "IMPOBOL", QStringLiteral("22"));
        click(config, "BSalva");
        QCOMPARE(f.configRecords(), 1);
        QCOMPARE(f.configValue(QStringLiteral("RAGIONE")), QStringLiteral("BOUTIQUE ROSA"));
        QCOMPARE(f.configValue(QStringLiteral("EURO")), QStringLiteral("2"));
        QCOMPARE(f.configValue(QStringLiteral("IMPOBOL")), QStringLiteral("22"));

        // The next opening edits the same record.
        config.show();
        QCOMPARE(child<QLineEdit>(config, "RAGIONE")->text(), QStringLiteral("BOUTIQUE ROSA"));
        QCOMPARE(child<QLineEdit>(config, "RAGIONE")->maxLength(), 40);
        QCOMPARE(child<QLineEdit>(config, "NEWANNOTA")->maxLength(), 70);
        QCOMPARE(child<QLineEdit>(config, "EURO")->maxLength(), 6);
        QCOMPARE(child<QLineEdit>(config, "EURO")->text(), QStringLiteral("2"));
        type(config, "RAGIONE", QStringLiteral("ALTRO"));
        click(config, "BAnnulla");
        QCOMPARE(f.configValue(QStringLiteral("RAGIONE")), QStringLiteral("BOUTIQUE ROSA"));
        QCOMPARE(f.configRecords(), 1);
        QVERIFY(f.prompter.done());
    }

    // The rate box shows whole points (",0"); saving other data must not write
    // that rounding back over a fractional rate.
    void fractionalPointRateSurvivesSave() {
        Fixture f;
        for (const char *rate : {"2.5", "0.1"}) {
            f.emptyConfig();
            {
                db::Table t(f.shop.database());
                t.setTableName(QStringLiteral("CONFIG"));
                t.open();
                t.append();
                t.setString(QStringLiteral("RAGIONE"), QStringLiteral("BOUTIQUE"));
                t.setFloat(QStringLiteral("EURO"), QString::fromLatin1(rate).toDouble());
                t.post();
            }
            TFConfig config(f.shop);
            config.show();
            QVERIFY(!child<QLineEdit>(config, "EURO")->text().contains(u','));
            type(config, "RAGIONE", QStringLiteral("BOUTIQUE ROSA"));
            click(config, "BSalva");
            QCOMPARE(f.configValue(QStringLiteral("RAGIONE")), QStringLiteral("BOUTIQUE ROSA"));
            QCOMPARE(f.configValue(QStringLiteral("EURO")).toDouble(),
                     QString::fromLatin1(rate).toDouble());
            // A rate the user types is written as typed.
            config.show();
            type(config, "EURO", QStringLiteral("1,5"));
            click(config, "BSalva");
            QCOMPARE(f.configValue(QStringLiteral("EURO")).toDouble(), 1.5);
        }
        QVERIFY(f.prompter.done());
    }

    void defaultsWithoutRegisterSection() {
        Fixture f;
        QFile ini(f.shop.ini().path());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[GENERALI]\r\nNUMCOPIE=2\r\n");
        ini.close();
        TFConfig config(f.shop);
        QCOMPARE(child<QComboBox>(config, "SERIALE")->currentText(), QStringLiteral("COM1"));
        QCOMPARE(child<QComboBox>(config, "MARCA")->currentText(),
                 QStringLiteral("Olivetti (ELA)"));
        QCOMPARE(child<QComboBox>(config, "SPEED")->currentText(), QStringLiteral("9600, 8, NO"));
        QCOMPARE(child<QComboBox>(config, "MODELLO")->currentText(), QStringLiteral("Globe"));
        QVERIFY(child<QComboBox>(config, "MODELLO")->isHidden());
    }

    void makeAndSpeed() {
        Fixture f;
        f.shop.ini().writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"), 2);
        f.shop.ini().writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("SPEED"), 1);
        TFConfig config(f.shop);
        auto *make = child<QComboBox>(config, "MARCA");
        auto *speed = child<QComboBox>(config, "SPEED");
        auto *model = child<QComboBox>(config, "MODELLO");
        // Reading Dati.ini does not count as a change of make.
        QCOMPARE(make->currentText(), QStringLiteral("Dataprocess"));
        QCOMPARE(speed->currentText(), QStringLiteral("9600, 7, ODD"));
        make->setCurrentIndex(3); // RCH
        QVERIFY(!model->isHidden());
        QCOMPARE(speed->currentText(), QStringLiteral("9600, 8, NO"));
        make->setCurrentIndex(1); // Dataprocess
        QVERIFY(model->isHidden());
        QCOMPARE(speed->currentText(), QStringLiteral("19200, 8, NO"));
        speed->setCurrentIndex(7);
        config.show();
        click(config, "BSalva");
        const IniFile &ini = f.shop.ini();
        QCOMPARE(ini.readInteger(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"), 0), 2);
        QCOMPARE(ini.readInteger(QStringLiteral("REGCASSA"), QStringLiteral("SPEED"), 0), 7);
        QCOMPARE(ini.readString(QStringLiteral("GENERALI"), QStringLiteral("CALCRIC")),
                 QStringLiteral("0"));
        QCOMPARE(ini.keys(QStringLiteral("GENERALI")).size(), 5);
        QCOMPARE(ini.keys(QStringLiteral("REGCASSA")).size(), 4);
    }

    // A telematic register takes an address and a department table instead
    // of the serial line, and "Prova collegamento" tells its state.
    void telematicRegister() {
        Fixture f;
        sim::SimulatedEpsonRt rt;
        const QDateTime now(QDate(2026, 3, 5), QTime(9, 15));
        rt.setClock([now] { return now; });
        rt.setLastClosure(now);
        sim::RtHttpServer server(rt);
        QVERIFY(server.listen());
        TFConfig config(f.shop);
        config.show();
        auto *make = child<QComboBox>(config, "MARCA");
        auto *address = child<QLineEdit>(config, "INDIRIZZO");
        auto *departments = child<QLineEdit>(config, "REPARTI");
        QVERIFY(address->isHidden());
        make->setCurrentIndex(8);
        QCOMPARE(make->currentText(), QStringLiteral("Epson RT (FP-81 II RT, FP-90III RT)"));
        QVERIFY(!address->isHidden() && !departments->isHidden());
        QVERIFY(child<QComboBox>(config, "SERIALE")->isHidden());
        QVERIFY(child<QComboBox>(config, "SPEED")->isHidden());

        // Bad values are refused with a message and the window stays open.
        const struct {
            const char *address;
            const char *departments;
            QString message;
        } refused[] = {
            {"", "", TFConfig::rtAddressText},
            {"192.168.1.50:99999", "", TFConfig::rtAddressText},
            {"http://192.168.1.50/cgi", "", TFConfig::rtAddressText},
            {"192.168.1.50", "22:1;dieci:2", TFConfig::rtDepartmentsText},
            {"192.168.1.50", "22:1;10:0", TFConfig::rtDepartmentsText},
        };
        for (const auto &r : refused) {
            address->setText(QString::fromUtf8(r.address));
            departments->setText(QString::fromUtf8(r.departments));
            f.prompter.expectError(r.message);
            click(config, "BSalva");
            QVERIFY(config.isVisible());
        }

        address->setText(server.address());
        departments->setText(QStringLiteral("22:1;10:2;4:3"));
        f.prompter.expectInformation(
            QStringLiteral("Collegamento riuscito.\rRegistratore pronto.\rMatricola: 99MEX000001\r"
                           "Ultimo documento: n. 0, chiusura n. 1 del 05/03/2026 09:15"));
        auto *test = child<QPushButton>(config, "ProvaCollegamento");
        test->click();
        QTRY_VERIFY_WITH_TIMEOUT(test->isEnabled(), 10000);
        f.prompter.expectError(NetworkFiscalDevice::unreachableText(QStringLiteral("127.0.0.1:1")));
        address->setText(QStringLiteral("127.0.0.1:1"));
        test->click();
        QTRY_VERIFY_WITH_TIMEOUT(test->isEnabled(), 10000);

        address->setText(server.address());
        click(config, "BSalva");
        const IniFile &ini = f.shop.ini();
        QCOMPARE(ini.readInteger(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"), 0), 9);
        QCOMPARE(ini.readString(QStringLiteral("REGCASSA"), QStringLiteral("INDIRIZZO")),
                 server.address());
        const RegisterSettings settings = RegisterSettings::read(ini);
        QVERIFY(settings.isTelematic());
        QCOMPARE(settings.department(10), std::optional<int>(2));
        QCOMPARE(settings.department(22), std::optional<int>(1));
        QCOMPARE(settings.department(5), std::nullopt);
    }

    // The Custom and RCH registers: the same address and departments, the wait
    // and the retries; user and password only for the Custom one (HTTP).
    void otherTelematicMakes() {
        Fixture f;
        const QDateTime now(QDate(2026, 3, 5), QTime(9, 15));
        sim::SimulatedCustomRt custom;
        custom.setClock([now] { return now; });
        custom.setLastClosure(now);
        sim::RtHttpServer customServer(custom);
        customServer.setCredentials(QStringLiteral("cassa"), QStringLiteral("segreta"));
        QVERIFY(customServer.listen());
        sim::SimulatedRchRt rch;
        rch.setClock([now] { return now; });
        rch.setLastClosure(now);
        sim::RchRtServer rchServer(rch);
        QVERIFY(rchServer.listen());

        TFConfig config(f.shop);
        config.show();
        auto *make = child<QComboBox>(config, "MARCA");
        auto *address = child<QLineEdit>(config, "INDIRIZZO");
        auto *user = child<QLineEdit>(config, "RTUTENTE");
        auto *password = child<QLineEdit>(config, "RTPASSWORD");
        auto *timeout = child<QSpinBox>(config, "RTTIMEOUT");
        auto *retries = child<QSpinBox>(config, "RTRETRY");
        auto *test = child<QPushButton>(config, "ProvaCollegamento");
        QVERIFY(timeout->isHidden() && user->isHidden());
        QCOMPARE(timeout->value(), 10);
        QCOMPARE(retries->value(), 1);

        make->setCurrentIndex(9);
        QCOMPARE(make->currentText(), QStringLiteral("Custom RT (XML in rete)"));
        QVERIFY(!address->isHidden() && !timeout->isHidden() && !retries->isHidden());
        QVERIFY(!user->isHidden() && !password->isHidden());
        address->setText(customServer.address());
        user->setText(QStringLiteral("cassa"));
        password->setText(QStringLiteral("sbagliata"));
        f.prompter.expectError(NetworkFiscalDevice::credentialsText);
        test->click();
        QTRY_VERIFY_WITH_TIMEOUT(test->isEnabled(), 10000);
        password->setText(QStringLiteral("segreta"));
        f.prompter.expectInformation(
            QStringLiteral("Collegamento riuscito.\rRegistratore pronto.\rMatricola: STMTE100001\r"
                           "Ultimo documento: n. 0, chiusura n. 1 del 05/03/2026 09:15"));
        test->click();
        QTRY_VERIFY_WITH_TIMEOUT(test->isEnabled(), 10000);

        make->setCurrentIndex(10);
        QCOMPARE(make->currentText(), QStringLiteral("RCH RT (Print!F, Ondart, Spot)"));
        QVERIFY(user->isHidden() && password->isHidden() && !timeout->isHidden());
        address->setText(rchServer.address());
        f.prompter.expectInformation(
            QStringLiteral("Collegamento riuscito.\rRegistratore pronto.\rMatricola: 80RCH000001\r"
                           "Ultimo documento: n. 0, chiusura n. 1 del 05/03/2026 09:15"));
        test->click();
        QTRY_VERIFY_WITH_TIMEOUT(test->isEnabled(), 10000);
        timeout->setValue(4);
        retries->setValue(0);
        click(config, "BSalva");
        QVERIFY(f.prompter.done());

        const IniFile &ini = f.shop.ini();
        QCOMPARE(ini.readInteger(QStringLiteral("REGCASSA"), QStringLiteral("MARCA"), 0), 11);
        const RegisterSettings settings = RegisterSettings::read(ini);
        QCOMPARE(settings.protocol(), RegisterSettings::Protocol::RchRt);
        QCOMPARE(settings.address, rchServer.address());
        QCOMPARE(settings.networkTimeout, 4000);
        QCOMPARE(settings.networkRetries, 0);
        QCOMPARE(settings.user, QStringLiteral("cassa"));

        // A wait written by hand in milliseconds survives a save that leaves it.
        f.shop.ini().writeInteger(QStringLiteral("REGCASSA"), QStringLiteral("RTTIMEOUT"), 2500);
        TFConfig again(f.shop);
        again.show();
        QCOMPARE(child<QSpinBox>(again, "RTTIMEOUT")->value(), 3);
        click(again, "BSalva");
        QCOMPARE(RegisterSettings::read(f.shop.ini()).networkTimeout, 2500);
    }

    // The RCH RT is reached over TCP (as before the choice), over
    // service.cgi or on the serial line of the older registers: each way
    // shows its own rows, is tried with "Prova collegamento", saved and read
    // back.
    void rchTransports() {
        Fixture f;
        const QDateTime now(QDate(2026, 3, 5), QTime(9, 15));
        sim::SimulatedRchRt rch;
        rch.setClock([now] { return now; });
        rch.setLastClosure(now);
        sim::RchRtServer tcp(rch);
        QVERIFY(tcp.listen());
        sim::RchServiceCgi cgi(rch);
        sim::RtHttpServer http(cgi);
        QVERIFY(http.listen());
        std::unique_ptr<sim::RegisterSimulator> pty;
        QString device = QStringLiteral("COM1");
#ifndef Q_OS_WIN
        // Pseudo-terminals are Unix's: on Windows the serial way is left to
        // the Linux run.
        sim::RegisterSimulator::Pacing pacing;
        pacing.byteDelayMs = 0.05;
        pacing.replyDelayMs = 2;
        pty =
            std::make_unique<sim::RegisterSimulator>(std::make_unique<sim::RchRtLine>(rch), pacing);
        QVERIFY(pty->open());
        device = pty->devicePath();
#endif
        f.shop.ini().writeString(QStringLiteral("REGCASSA"), QStringLiteral("DEVICE"), device);

        const QString ready =
            QStringLiteral("Collegamento riuscito.\rRegistratore pronto.\rMatricola: 80RCH000001\r"
                           "Ultimo documento: n. 0, chiusura n. 1 del 05/03/2026 09:15");
        const struct {
            int transport; // row of the "Collegamento" list
            QString address;
            bool addressShown;
            const char *saved;
            RegisterSettings::Transport read;
        } ways[] = {
            {0, tcp.address(), true, "TCP", RegisterSettings::Transport::Tcp},
            {1, http.address(), true, "HTTP", RegisterSettings::Transport::Http},
            // The address is not asked for: an empty one is no fault.
            {2, QString(), false, "SERIALE", RegisterSettings::Transport::Serial},
        };
        for (const auto &w : ways) {
            if (w.read == RegisterSettings::Transport::Serial && !pty)
                continue;
            TFConfig config(f.shop);
            config.show();
            auto *make = child<QComboBox>(config, "MARCA");
            auto *transport = child<QComboBox>(config, "RTCOLLEG");
            auto *address = child<QLineEdit>(config, "INDIRIZZO");
            // Hidden until the RCH RT is chosen (the first time round).
            QCOMPARE(transport->isHidden(), make->currentIndex() != 10);
            make->setCurrentIndex(10);
            QVERIFY(!transport->isHidden());
            transport->setCurrentIndex(w.transport);
            QCOMPARE(address->isHidden(), !w.addressShown);
            QCOMPARE(child<QComboBox>(config, "SERIALE")->isHidden(), w.addressShown);
            QCOMPARE(child<QComboBox>(config, "SPEED")->isHidden(), w.addressShown);
            address->setText(w.address);
            f.prompter.expectInformation(ready);
            auto *test = child<QPushButton>(config, "ProvaCollegamento");
            test->click();
            QTRY_VERIFY_WITH_TIMEOUT(test->isEnabled(), 10000);
            QVERIFY2(f.prompter.done(), w.saved);
            click(config, "BSalva");
            QVERIFY(!config.isVisible());

            const IniFile &ini = f.shop.ini();
            QCOMPARE(ini.readString(QStringLiteral("REGCASSA"), QStringLiteral("RTCOLLEG")),
                     QString::fromLatin1(w.saved));
            const RegisterSettings settings = RegisterSettings::read(ini);
            QCOMPARE(settings.transport(), w.read);
            QCOMPARE(settings.device, device);

            TFConfig again(f.shop);
            QCOMPARE(child<QComboBox>(again, "RTCOLLEG")->currentIndex(), w.transport);
        }

        // Over the network an address is needed whichever way.
        {
            TFConfig config(f.shop);
            config.show();
            child<QComboBox>(config, "RTCOLLEG")->setCurrentIndex(1);
            child<QLineEdit>(config, "INDIRIZZO")->clear();
            f.prompter.expectError(TFConfig::rtAddressText);
            click(config, "BSalva");
            QVERIFY(config.isVisible());
            // Another make hides the choice and keeps its own rows.
            child<QComboBox>(config, "MARCA")->setCurrentIndex(8);
            QVERIFY(child<QComboBox>(config, "RTCOLLEG")->isHidden());
            QVERIFY(!child<QLineEdit>(config, "INDIRIZZO")->isHidden());
            QVERIFY(child<QComboBox>(config, "SERIALE")->isHidden());
        }
        // A hand-written value the program does not know is the TCP connection.
        f.shop.ini().writeString(QStringLiteral("REGCASSA"), QStringLiteral("RTCOLLEG"),
                                 QStringLiteral("boh"));
        TFConfig config(f.shop);
        QCOMPARE(child<QComboBox>(config, "RTCOLLEG")->currentText(), QStringLiteral("Rete (TCP)"));
        QCOMPARE(RegisterSettings::read(f.shop.ini()).transport(),
                 RegisterSettings::Transport::Tcp);
        QVERIFY(f.prompter.done());
    }

    void passwordChanges() {
        Fixture f;
        TFConfig config(f.shop);
        QVERIFY(f.shop.activePassword().isEmpty());
        config.show();
        f.prompter.expectPassword(QStringLiteral("Imposta Password"), QStringLiteral("Segreta1"))
            .expectPassword(QStringLiteral("Conferma Password"), QStringLiteral("Segreta1"))
            .expectInformation(QStringLiteral("La password è stata cambiata!"));
        click(config, "BPassword");
        QCOMPARE(f.shop.activePassword(), QStringLiteral("Segreta1"));
        // Saved at once, even when the window is then cancelled.
        click(config, "BAnnulla");
        QCOMPARE(f.configValue(QStringLiteral("PASSWD")), QStringLiteral("Segreta1"));

        config.show();
        f.prompter.expectPassword(QStringLiteral("Vecchia Password"), QStringLiteral("segreta1"))
            .expectError(QStringLiteral("Password errata!"))
            .expectPassword(QStringLiteral("Vecchia Password"), QStringLiteral("Segreta1"))
            .expectPassword(QStringLiteral("Nuova Password"), QStringLiteral("a"))
            .expectPassword(QStringLiteral("Conferma Password"), QStringLiteral("b"))
            .expectError(QStringLiteral("Le due password non coincidono!"))
            .expectPassword(QStringLiteral("Vecchia Password"), QStringLiteral("Segreta1"))
            .expectPassword(QStringLiteral("Nuova Password"), QStringLiteral("troppo lunga!"))
            .expectError(QStringLiteral("La password può avere al massimo 10 caratteri!"))
            .expectPassword(QStringLiteral("Vecchia Password"), QStringLiteral("Segreta1"))
            .expectPassword(QStringLiteral("Nuova Password"), QString())
            .expectPassword(QStringLiteral("Conferma Password"), QString())
            .expectInformation(QStringLiteral("La password è stata rimossa!"));
        click(config, "BPassword");
        click(config, "BPassword");
        QCOMPARE(f.shop.activePassword(), QStringLiteral("Segreta1"));
        click(config, "BPassword");
        click(config, "BPassword");
        QVERIFY(f.shop.activePassword().isEmpty());
        click(config, "BSalva");
        QVERIFY(f.configValue(QStringLiteral("PASSWD")).isEmpty());
        QVERIFY(f.prompter.done());

        // A new start reads the password from the record.
        f.prompter.expectPassword(QStringLiteral("Imposta Password"), QStringLiteral("x"))
            .expectPassword(QStringLiteral("Conferma Password"), QStringLiteral("x"))
            .expectInformation(QStringLiteral("La password è stata cambiata!"));
        config.show();
        click(config, "BPassword");
        click(config, "BSalva");
        f.shop.setActivePassword(QString());
        TFConfig again(f.shop);
        QCOMPARE(f.shop.activePassword(), QStringLiteral("x"));
    }

    void autoSaveTickedThenCancelled() {
        Fixture f;
        {
            TFConfig config(f.shop);
            config.show();
            QVERIFY(!f.shop.preferences().autoSave);
            child<QCheckBox>(config, "Autosalvataggio Archivio")->setChecked(true);
            child<QCheckBox>(config, "Calcola il ricarico senza Iva")->setChecked(true);
            click(config, "BAnnulla");
            // This run follows the boxes...
            QVERIFY(f.shop.preferences().autoSave);
            QVERIFY(f.shop.preferences().markupWithoutVat);
            QVERIFY(config.autoSaveBox()->isChecked());
        }
        // ...the next start does not.
        f.shop.preferences() = {};
        TFConfig next(f.shop);
        QVERIFY(!next.autoSaveBox()->isChecked());
        QVERIFY(!f.shop.preferences().autoSave);
    }

    void logoFromFile() {
        Fixture f;
        QImage picture(30, 10, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        const QString bmp = f.dir.filePath(QStringLiteral("logo.bmp"));
        QVERIFY(picture.save(bmp, "BMP"));
        const QString text = f.dir.filePath(QStringLiteral("note.gif"));
        QFile notPicture(text);
        QVERIFY(notPicture.open(QIODevice::WriteOnly));
        notPicture.write("non sono una foto");
        notPicture.close();

        TFConfig config(f.shop);
        config.show();
        f.prompter.expectOpenFile(text)
            .expectError(QStringLiteral("Il file scelto non è un'immagine: ") + text)
            .expectOpenFile(bmp)
            .expectOpenFile(std::nullopt);
        click(config, "Sfoglia...");
        click(config, "Sfoglia...");
        click(config, "Sfoglia...");
        click(config, "BSalva");
        db::Table t(f.shop.database());
        t.setTableName(QStringLiteral("CONFIG"));
        t.open();
        const QImage stored = QImage::fromData(t.asBlob(QStringLiteral("LOGO")));
        QCOMPARE(stored.size(), QSize(30, 10));
        QCOMPARE(stored.pixelColor(5, 5), QColor(Qt::blue));
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestTFConfig)
#include "tst_tfconfig.moc"
