// Every message of every register protocol, byte for byte.

#include "register/DataprocessProtocol.h"
#include "register/ElaProtocol.h"
#include "register/RchGlobeProtocol.h"
#include "register/RchMizarProtocol.h"
#include "register/ReceiptBuilder.h"
#include "register/RegisterSettings.h"

#include "platform/IniFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace corvale;
using DP = DataprocessProtocol;

namespace {

// The register manuals write an ELA length byte as "!" and a hex digit.
QByteArray ela(const char *notation) {
    const QByteArray in(notation);
    QByteArray out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '!' && i + 1 < in.size() &&
            QByteArray("0123456789ABCDEF").contains(in[i + 1])) {
            out += char(0x20 + QByteArray(1, in[i + 1]).toInt(nullptr, 16));
            ++i;
        } else {
            out += in[i];
        }
    }
    return out;
}

ReceiptLine line(const char *description, double quantity, double price, double discount = 0,
                 double vat = 20) {
    return {QString::fromLatin1(description),
            quantity,
            price,
            discount,
            vat,
            ReceiptBuilder::lineAmount(quantity, price, discount)};
}

const QByteArray stx("\x02");
const QByteArray etx("\x03");
const char em = 0x19;

} // namespace

class TestRegisterMessages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void elaMessages() {
        // 2 x MAGLIA at 19.90, VAT 20.
        QCOMPARE(ElaProtocol::item(line("MAGLIA", 2, 19.90)),
                 ela("!41325!539,80") + "&MAGLIA" + ela("!220!92 x 19,90!10"));
        // One piece: the quantity field is empty.
        QCOMPARE(ElaProtocol::item(line("CALZE", 1, 5, 0, 4)),
                 ela("!41325!45,00") + "%CALZE" + ela("!14!0!10"));
        // The description field holds at most 29 characters: length byte '='.
        const QByteArray longItem =
            ElaProtocol::item(line("GIACCA DOPPIOPETTO LANA MERINO BLU", 1, 250));
        QVERIFY(longItem.contains("=GIACCA DOPPIOPETTO LANA MERIN\x22"));

        QCOMPARE(ElaProtocol::openReceipt(), ela("!41322"));
        QCOMPARE(ElaProtocol::subtotal(), ela("!41332"));
        QCOMPARE(ElaProtocol::closeReceipt(), ela("!41323"));
        QCOMPARE(ElaProtocol::last(), ela("!3912!11"));
        // 2 x 50.00 with 10% off: 10,00 of discount.
        QCOMPARE(ElaProtocol::lineDiscount(line("X", 2, 50, 10)), ela("!41327!510,00!310%"));

        Receipt r;
        r.saleDiscount = 5;
        r.discountAmount = 9;
        r.payment = 1234.5;
        QCOMPARE(ElaProtocol::saleDiscount(r), ela("!41327!49,00!25%"));
        QCOMPARE(ElaProtocol::payment(r), ela("!41329!71234,50!8CONTANTI"));
    }

    void elaQuantityFieldLongerThanNineKeepsItsLength() {
        // "2 x 119,90" is ten characters: its length byte must say ten, not
        // one followed by a stray "0".
        const QByteArray item = ElaProtocol::item(line("CAPPOTTO", 2, 119.90));
        QVERIFY(item.contains(ela("!A") + "2 x 119,90" + ela("!10")));
    }

    void elaExclamationInDescriptionIsSentAsItself() {
        // A "!" followed by a hex digit must not turn into a length byte.
        const QByteArray item = ElaProtocol::item(line("SALDI!50 T-SHIRT!", 1, 9.9));
        QVERIFY(item.contains(char(0x20 + 17) + QByteArray("SALDI!50 T-SHIRT!") + ela("!220")));
    }

    void elaFrame() {
        // 24+31+33+32+32 = EC
        QCOMPARE(ElaProtocol::frame(ElaProtocol::openReceipt()), stx + "$132200EC" + etx);
        const QByteArray payload = ElaProtocol::item(line("MAGLIA", 2, 19.90));
        QCOMPARE(ElaProtocol::frame(payload).size(), payload.size() + 6);
    }

    void dataprocessAndEpsonItems() {
        QCOMPARE(DP::itemText(DP::Variant::Dataprocess, line("MAGLIA", 2, 19.90)),
                 "V100400"
                 "1" +
                     QByteArray(39, '0') +
                     "MAGLIA          "
                     "0002000"
                     "1"
                     "000001990"
                     "01");
        QCOMPARE(DP::itemText(DP::Variant::Epson, line("MAGLIA", 2, 19.90)),
                 "E100401" + QByteArray(40, '0') +
                     "MAGLIA              "
                     "0002000"
                     "1"
                     "000001990"
                     "01");
        // Item code by quantity; descriptions cut to 16 / 20.
        QCOMPARE(DP::itemText(DP::Variant::Dataprocess, line("A", 1, 1)).left(5), "V1003");
        QCOMPARE(DP::itemText(DP::Variant::Dataprocess, line("A", 1.5, 1)).left(5), "V1005");
        QCOMPARE(DP::itemText(DP::Variant::Dataprocess, line("A", 3, 1)).left(5), "V1004");
        QCOMPARE(DP::itemText(DP::Variant::Epson, line("A", 1, 1)).left(5), "E1003");
        QCOMPARE(DP::itemText(DP::Variant::Epson, line("A", 1.5, 1)).left(5), "E1005");
        QCOMPARE(DP::itemText(DP::Variant::Epson, line("A", 3, 1)).left(5), "E1004");
        const QByteArray fractional =
            DP::itemText(DP::Variant::Dataprocess, line("PANTALONE VELLUTO COSTE", 1.5, 1234.5));
        QCOMPARE(fractional.mid(47), "PANTALONE VELLUT"
                                     "0001500"
                                     "1"
                                     "000123450"
                                     "01");
        QCOMPARE(
            DP::itemText(DP::Variant::Epson, line("PANTALONE VELLUTO COSTE", 1, 1)).mid(47, 20),
            "PANTALONE VELLUTO CO");
    }

    void dataprocessAndEpsonOtherMessages() {
        QCOMPARE(DP::openText(DP::Variant::Dataprocess), "V121700");
        QCOMPARE(DP::openText(DP::Variant::Epson), "E4201");
        QCOMPARE(DP::lineDiscountText(DP::Variant::Dataprocess, line("A", 1, 1, 10)),
                 "V1023001000");
        QCOMPARE(DP::lineDiscountText(DP::Variant::Epson, line("A", 1, 1, 12.5)), "E1023011250");

        Receipt r;
        r.payment = 100;
        QCOMPARE(DP::paymentText(DP::Variant::Dataprocess, r), "V103600000010000");
        // Epson sends the cash only with the change calculation.
        QCOMPARE(DP::paymentText(DP::Variant::Epson, r), "E103601000000000");
        r.calcResto = true;
        QCOMPARE(DP::paymentText(DP::Variant::Epson, r), "E103601000010000");
    }

    void dataprocessFrame() {
        // 0+0+V+1+2+1+7+0+0 = 481
        QCOMPARE(DP::frame(0, "V121700"), stx + "00V12170081" + etx);
        QCOMPARE(DP::frame(7, "E4201").left(3), stx + "07");
        QCOMPARE(DP::frame(99, "X").size(), 1 + 6);
    }

    void globeMessages() {
        QCOMPARE(RchGlobeProtocol::itemText(line("MAGLIA", 2, 19.90)), "=R1/$1990/*2.00/(MAGLIA)");
        QCOMPARE(RchGlobeProtocol::itemText(line("MAGLIA", 1, 19.90)), "=R1/$1990/(MAGLIA)");
        QCOMPARE(RchGlobeProtocol::itemText(line("GIUBBOTTO IMBOTTITO DONNA", 1.5, 1234.5)),
                 "=R1/$123450/*1.50/(GIUBBOTTO IMBOTTITO )");
        QCOMPARE(RchGlobeProtocol::lineDiscountText(line("A", 1, 1, 10)), "=%/*10.00");
        Receipt r;
        r.discountAmount = 2.04;
        QCOMPARE(RchGlobeProtocol::saleDiscountText(r), "=V/*204");
        QCOMPARE(RchGlobeProtocol::startText(), "=K");
        QCOMPARE(RchGlobeProtocol::subtotalText(), "=S");
        QCOMPARE(RchGlobeProtocol::totalText(), "=T1");
    }

    void globeFrame() {
        // XOR of 02 '0' '1' '0' '0' '2' 'N' '=' 'K' '0' is 39.
        QCOMPARE(RchGlobeProtocol::frame(0, "=K"), stx + "01002N=K039" + etx);
        const QByteArray item = RchGlobeProtocol::frame(13, "=R1/$1990/*2.00/(MAGLIA)");
        QCOMPARE(item.size(), 24 + 11);
        QCOMPARE(item.mid(1, 6), "01024N");
        QCOMPARE(item.at(item.size() - 4), '3'); // sequence mod 10
    }

    void mizarMessages() {
        QCOMPARE(RchMizarProtocol::lineText(line("MAGLIA", 1, 1234.50)),
                 "rMAGLIA              00123450 01" + QByteArray(1, em));
        QCOMPARE(RchMizarProtocol::quantityKeys(line("A", 2, 1)), "u12021053" + QByteArray(1, em));
        QCOMPARE(RchMizarProtocol::quantityKeys(line("A", 1.5, 1)),
                 "u1201104612051053" + QByteArray(1, em));
        QCOMPARE(RchMizarProtocol::discountKeys(line("A", 1, 1, 10)),
                 "u1067120112001015" + QByteArray(1, em));
        QCOMPARE(RchMizarProtocol::closingKeys(), "u10351001" + QByteArray(1, em));
    }

    void mizarFrames() {
        // BCC of STX p110 ETX = 01 ^ 'p' ^ '1' ^ '1' ^ '0' = 41
        QCOMPARE(RchMizarProtocol::command("p110"), "\x04"
                                                    "01" +
                                                        stx + "p110" + etx + "\x41");
        const QByteArray data = RchMizarProtocol::data("u1");
        QCOMPARE(data, "\x01"
                       "0100" +
                           stx + "u1" + etx + char(0x01 ^ 'u' ^ '1'));
        QCOMPARE(RchMizarProtocol::poll(), QByteArray("\x04"
                                                      "01\x05"));
    }

    void controlCharactersNeverReachTheWire() {
        const QByteArray globe = RchGlobeProtocol::itemText(line("A\x03"
                                                                 "B\x02",
                                                                 1, 1));
        QCOMPARE(globe, "=R1/$100/(A B )");
        QVERIFY(!DP::itemText(DP::Variant::Dataprocess, line("X\x03", 1, 1)).contains('\x03'));
    }

    void settingsChooseProtocolAndLine() {
        QTemporaryDir dir;
        IniFile ini(dir.filePath(QStringLiteral("Dati.ini")));
        RegisterSettings s = RegisterSettings::read(ini);
        QCOMPARE(s.protocol(), RegisterSettings::Protocol::Ela);
        QCOMPARE(s.timeout, -1);
        QCOMPARE(s.lineSettings().baudRate, 9600);
        QCOMPARE(s.lineSettings().dataBits, 8);

        const QString sec = QStringLiteral("REGCASSA");
        ini.writeInteger(sec, QStringLiteral("MARCA"), 4);
        ini.writeInteger(sec, QStringLiteral("MODELLO"), 2);
        ini.writeInteger(sec, QStringLiteral("SPEED"), 7);
        ini.writeInteger(sec, QStringLiteral("TIMEOUT"), 40);
        ini.writeBool(QStringLiteral("GENERALI"), QStringLiteral("CALCRESTO"), true);
        s = RegisterSettings::read(ini);
        QCOMPARE(s.protocol(), RegisterSettings::Protocol::RchMizar);
        QCOMPARE(s.lineSettings().baudRate, 2400);
        QCOMPARE(s.lineSettings().dataBits, 7);
        QCOMPARE(s.lineSettings().parity, SerialLine::Parity::Even);
        QCOMPARE(s.timeout, 40);
        QVERIFY(s.calcResto);
        for (int model : {1, 3, 4}) {
            s.model = model;
            QCOMPARE(s.protocol(), RegisterSettings::Protocol::RchGlobe);
        }
        auto with = [](int brand, int speed) {
            RegisterSettings r;
            r.brand = brand;
            r.speed = speed;
            return r;
        };
        for (int brand : {3, 5, 6, 7, 12})
            QCOMPARE(with(brand, 0).protocol(), RegisterSettings::Protocol::None);
        QCOMPARE(with(9, 0).protocol(), RegisterSettings::Protocol::EpsonRt);
        QCOMPARE(with(10, 0).protocol(), RegisterSettings::Protocol::CustomRt);
        QCOMPARE(with(11, 0).protocol(), RegisterSettings::Protocol::RchRt);
        for (int brand : {9, 10, 11})
            QVERIFY(with(brand, 0).isTelematic());
        for (int brand : {1, 4, 8, 12})
            QVERIFY(!with(brand, 0).isTelematic());
        QCOMPARE(with(2, 0).protocol(), RegisterSettings::Protocol::Dataprocess);
        QCOMPARE(with(8, 0).protocol(), RegisterSettings::Protocol::Epson);
        QCOMPARE(with(1, 4).lineSettings().parity, SerialLine::Parity::Odd);
        QCOMPARE(with(1, 6).lineSettings().parity, SerialLine::Parity::None);
        QCOMPARE(with(1, 42).lineSettings().dataBits, 8);
    }

    void receiptTotalsAsTheSaleComputesThem() {
        // 10% off 2 x 50.00 is 90.00; 5% off two such lines is 171.00.
        auto r = ReceiptBuilder::build({line("A", 2, 50, 10), line("B", 2, 50, 10)}, 5,
                                       std::nullopt, false);
        QVERIFY(r);
        QCOMPARE(r->lines.at(0).amount, 90.0);
        QCOMPARE(r->payment, 171.0);
        QVERIFY(qAbs(r->discountAmount - 9.0) < 1e-9);
        // 29.997 is rounded to cents.
        r = ReceiptBuilder::build({line("A", 1, 33.33)}, 10, std::nullopt, false);
        QCOMPARE(r->payment, 30.0);
        // Cash with the change calculation; too little cash gives nothing.
        r = ReceiptBuilder::build({line("A", 1, 87.5)}, 0, 100.0, true);
        QCOMPARE(r->payment, 100.0);
        QVERIFY(!ReceiptBuilder::build({line("A", 1, 87.5)}, 0, 80.0, true));
        // A fractional quantity counts in the total.
        r = ReceiptBuilder::build({line("A", 0.5, 10)}, 0, std::nullopt, false);
        QCOMPARE(r->payment, 5.0);
    }
};

QTEST_GUILESS_MAIN(TestRegisterMessages)
#include "tst_registermessages.moc"
