#include "sales/einvoice/EInvoiceShop.h"

#include "sales/PurchaseTotals.h"
#include "sales/einvoice/CreditNote.h"
#include "sales/einvoice/EInvoiceExport.h"
#include "sales/einvoice/EInvoiceFolder.h"
#include "sales/einvoice/EInvoiceState.h"
#include "sales/einvoice/SchemaValidator.h"
#include "sales/einvoice/SdiNotifications.h"
#include "sales/einvoice/VatBreakdown.h"

#include <QTest>

using namespace corvale;
using namespace einvoicetest;

namespace {

QString feFolder(ShopFixture &f) {
    return f.dir.filePath(QStringLiteral("archivio/FE"));
}

EInvoiceExport::Outcome writeInvoice(ShopFixture &f, qint64 key, QString folder = {}) {
    EInvoiceExport writer(f.db(), folder.isEmpty() ? feFolder(f) : folder);
    return writer.write(key);
}

qint64 configProgressive(ShopFixture &f) {
    db::Table t(f.db());
    t.setTableName(QStringLiteral("CONFIG"));
    t.open();
    t.first();
    return t.asInteger(QStringLiteral("FEPROG"));
}

void writeNotice(const QString &path, const QString &root, const QString &fileName,
                 const QString &inner = {}) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<types:%1 xmlns:types=\"http://www.fatturapa.gov.it/sdi/messaggi/v1.0\" "
                       "versione=\"1.0\"><IdentificativoSdI>111</IdentificativoSdI>"
                       "<NomeFile>%2</NomeFile>%3</types:%1>")
            .arg(root, fileName, inner)
            .toUtf8());
}

} // namespace

class TestEInvoice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void privateCustomer() {
        ShopFixture f;
        setShop(f);
        addCustomer(f, 5, QStringLiteral("ROSSI MARIA"),
                    {{QStringLiteral("CODFISC"), fiscalCode(QStringLiteral("RSSMRA80A41H501"))}});
        const qint64 key = storeInvoice(f, 5,
                                        {line(1, QStringLiteral("ROSSO"), 1, 3, 19.99, 10),
                                         line(2, QStringLiteral("BLU"), 2, 1, 50)});
        const auto outcome = writeInvoice(f, key);
        QVERIFY2(outcome.written, qPrintable(outcome.problems.join(u'\n')));
        QCOMPARE(outcome.fileName, QStringLiteral("IT01234567897_00001.xml"));
        QCOMPARE(configProgressive(f), 1);
        QCOMPARE(invoiceValue(f, key, QStringLiteral("FEFILE")).toString(), outcome.fileName);
        QCOMPARE(invoiceValue(f, key, QStringLiteral("FESTATO")).toInt(),
                 int(EInvoiceState::Written));
        const QString xml = readFile(outcome.path);
        QCOMPARE(SchemaValidator().validate(xml.toUtf8()), QStringList());
        QCOMPARE(elements(xml, QStringLiteral("CodiceDestinatario")), QStringList{"0000000"});
        QCOMPARE(elements(xml, QStringLiteral("CodiceFiscale")),
                 QStringList{fiscalCode(QStringLiteral("RSSMRA80A41H501"))});
        // The shop's partita IVA is the only IdCodice besides the transmitter's.
        QCOMPARE(elements(xml, QStringLiteral("IdCodice")),
                 (QStringList{"01234567897", "01234567897"}));
        // CAP 00184 was stored as 184.
        QCOMPARE(elements(xml, QStringLiteral("CAP")), (QStringList{"20121", "00184"}));
        QCOMPARE(elements(xml, QStringLiteral("Comune")), (QStringList{"MILANO", "ROMA"}));
        QCOMPARE(elements(xml, QStringLiteral("TipoDocumento")), QStringList{"TD01"});
        QCOMPARE(elements(xml, QStringLiteral("Numero")), QStringList{"1"});
        QCOMPARE(elements(xml, QStringLiteral("Data")), QStringList{"2026-03-15"});
        // 3 x 19.99 less 10 % and 50.00: 103.97, the stored total to the cent.
        QCOMPARE(elements(xml, QStringLiteral("ImportoTotaleDocumento")), QStringList{"103.97"});
        QCOMPARE(elements(xml, QStringLiteral("PrezzoTotale")), (QStringList{"44.24", "40.98"}));
        QCOMPARE(elements(xml, QStringLiteral("ImponibileImporto")), QStringList{"85.22"});
        QCOMPARE(elements(xml, QStringLiteral("Imposta")), QStringList{"18.75"});
        QCOMPARE(elements(xml, QStringLiteral("Descrizione")).value(0),
                 QStringLiteral("STIVALE CUOIO / ROSSI - colore ROSSO - taglia 38"));
        QCOMPARE(elements(xml, QStringLiteral("CodiceValore")).size(), 2);
        QCOMPARE(elements(xml, QStringLiteral("Percentuale")), QStringList{"10.00"});
    }

    void customers_data() {
        QTest::addColumn<QVariantMap>("fields");
        QTest::addColumn<QString>("recipient");
        QTest::addColumn<QString>("pec");
        QTest::addColumn<QString>("vatNumber");
        QTest::addColumn<QString>("fiscal");
        QTest::newRow("company with its code")
            << QVariantMap{{"PARTIVA", "12345678903"}, {"CODDEST", "m5uxcr1"}} << "M5UXCR1"
            << ""
            << "12345678903"
            << "";
        QTest::newRow("company with a PEC")
            << QVariantMap{{"PARTIVA", "IT12345678903"}, {"PEC", "amministrazione@pec.it"}}
            << "0000000"
            << "amministrazione@pec.it"
            << "12345678903"
            << "";
        QTest::newRow("company with neither")
            << QVariantMap{{"PARTIVA", "12345678903"}} << "0000000"
            << ""
            << "12345678903"
            << "";
        QTest::newRow("old field, partita IVA")
            << QVariantMap{{"PIVACF", "12345678903"}} << "0000000"
            << ""
            << "12345678903"
            << "";
        const QString cf = fiscalCode(QStringLiteral("BNCGLI75C52F205"));
        QTest::newRow("old field, codice fiscale")
            << QVariantMap{{"PIVACF", cf.toLower()}} << "0000000"
            << ""
            << "" << cf;
        // A private customer finds the invoice in the reserved area, whatever code it has.
        QTest::newRow("private with a code")
            << QVariantMap{{"CODFISC", cf}, {"CODDEST", "ABCDEFG"}} << "0000000"
            << ""
            << "" << cf;
    }
    void customers() {
        QFETCH(QVariantMap, fields);
        ShopFixture f;
        setShop(f);
        addCustomer(f, 5, QStringLiteral("CLIENTE SRL"), fields);
        const qint64 key = storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 1, 122)});
        const auto outcome = writeInvoice(f, key);
        QVERIFY2(outcome.written, qPrintable(outcome.problems.join(u'\n')));
        const QString xml = readFile(outcome.path);
        QCOMPARE(SchemaValidator().validate(xml.toUtf8()), QStringList());
        QTEST(elements(xml, QStringLiteral("CodiceDestinatario")).value(0), "recipient");
        QTEST(elements(xml, QStringLiteral("PECDestinatario")).value(0), "pec");
        // The customer's partita IVA follows the shop's (IdTrasmittente, cedente).
        QTEST(elements(xml, QStringLiteral("IdCodice")).value(2), "vatNumber");
        QTEST(elements(xml, QStringLiteral("CodiceFiscale")).value(0), "fiscal");
        QCOMPARE(elements(xml, QStringLiteral("ImponibileImporto")), QStringList{"100.00"});
        QCOMPARE(elements(xml, QStringLiteral("Imposta")), QStringList{"22.00"});
    }

    void whatIsMissingIsNamed_data() {
        QTest::addColumn<QVariantMap>("customer");
        QTest::addColumn<QVariantMap>("config");
        QTest::addColumn<QString>("message");
        QTest::newRow("no codes") << QVariantMap{} << QVariantMap{}
                                  << "Manca il codice fiscale o la partita IVA del cliente";
        QTest::newRow("short code")
            << QVariantMap{{"PARTIVA", "12345678903"}, {"CODDEST", "ABC123"}} << QVariantMap{}
            << "Codice destinatario di 7 caratteri";
        QTest::newRow("code and PEC")
            << QVariantMap{{"PARTIVA", "12345678903"}, {"CODDEST", "ABC1234"}, {"PEC", "a@pec.it"}}
            << QVariantMap{} << "La PEC del cliente si indica solo con il codice destinatario";
        QTest::newRow("wrong partita IVA")
            << QVariantMap{{"PARTIVA", "12345678900"}} << QVariantMap{}
            << "La partita IVA del cliente non è valida";
        QTest::newRow("no address") << QVariantMap{{"PARTIVA", "12345678903"}, {"ADDRESS", ""}}
                                    << QVariantMap{} << "Manca l'indirizzo del cliente";
        QTest::newRow("no CAP") << QVariantMap{{"PARTIVA", "12345678903"}, {"CAP", QVariant()}}
                                << QVariantMap{} << "Manca il C.A.P. del cliente";
        QTest::newRow("shop without partita IVA")
            << QVariantMap{{"PARTIVA", "12345678903"}} << QVariantMap{{"PIVA", ""}}
            << "Manca la partita IVA del negozio";
        QTest::newRow("shop without CAP")
            << QVariantMap{{"PARTIVA", "12345678903"}} << QVariantMap{{"CITTA", "MILANO"}}
            << "Manca il CAP del negozio";
    }
    void whatIsMissingIsNamed() {
        QFETCH(QVariantMap, customer);
        QFETCH(QVariantMap, config);
        QFETCH(QString, message);
        ShopFixture f;
        setShop(f);
        setConfig(f, config);
        addCustomer(f, 5, QStringLiteral("CLIENTE SRL"), customer);
        const qint64 key = storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 1, 122)});
        const auto outcome = writeInvoice(f, key);
        QVERIFY(!outcome.written);
        QVERIFY2(outcome.problems.join(u'\n').contains(message),
                 qPrintable(outcome.problems.join(u'\n')));
        QVERIFY(EInvoiceExport::messageFor(outcome).contains(message));
        // Nothing written, no progressive taken, no state.
        QVERIFY(QDir(feFolder(f)).entryList(QDir::Files).isEmpty());
        QCOMPARE(configProgressive(f), 0);
        QVERIFY(invoiceValue(f, key, QStringLiteral("FEFILE")).toString().isEmpty());
    }

    void progressive() {
        ShopFixture f;
        setShop(f);
        addCustomer(f, 5, QStringLiteral("CLIENTE SRL"), {{"PARTIVA", "12345678903"}});
        const qint64 first = storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 1, 10)});
        const qint64 second = storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 1, 20)});
        // A failed file takes no number: the next good one is 00001.
        setInvoiceValue(f, first, QStringLiteral("NUMDOC"), 0);
        setInvoiceValue(f, first, QStringLiteral("TOTALE"), 999.0);
        QVERIFY(!writeInvoice(f, first).written);
        auto outcome = writeInvoice(f, second);
        QCOMPARE(outcome.fileName, QStringLiteral("IT01234567897_00001.xml"));

        // Writing it again before it leaves keeps its name and number.
        outcome = writeInvoice(f, second);
        QVERIFY(outcome.written);
        QCOMPARE(outcome.fileName, QStringLiteral("IT01234567897_00001.xml"));
        QCOMPARE(configProgressive(f), 1);

        // An older backup restored: the counter is behind the files the
        // exchange system already has (and their notifications).
        const QDir fe(feFolder(f));
        QFile(fe.filePath(QStringLiteral("IT01234567897_000A0_RC_001.xml")))
            .open(QIODevice::WriteOnly);
        QFile(fe.filePath(QStringLiteral("IT01234567897_0009Z.xml"))).open(QIODevice::WriteOnly);
        setInvoiceValue(f, first, QStringLiteral("TOTALE"), 10.0);
        outcome = writeInvoice(f, first);
        QVERIFY2(outcome.written, qPrintable(outcome.problems.join(u'\n')));
        QCOMPARE(outcome.fileName, QStringLiteral("IT01234567897_000A1.xml"));
        QCOMPARE(configProgressive(f), 361);

        // Rejected: it goes again under a new name, the old one is spent.
        setInvoiceValue(f, first, QStringLiteral("FESTATO"), int(EInvoiceState::Rejected));
        outcome = writeInvoice(f, first);
        QCOMPARE(outcome.fileName, QStringLiteral("IT01234567897_000A2.xml"));
        // Sent: never written again.
        setInvoiceValue(f, first, QStringLiteral("FESTATO"), int(EInvoiceState::Sent));
        outcome = writeInvoice(f, first);
        QVERIFY(!outcome.written);
        QVERIFY(outcome.problems.value(0).contains(QStringLiteral("nota di credito")));

        QCOMPARE(EInvoiceFolder::progressiveText(1), QStringLiteral("00001"));
        QCOMPARE(EInvoiceFolder::progressiveText(36), QStringLiteral("00010"));
        QCOMPARE(EInvoiceFolder::progressiveOf(QStringLiteral("it01234567897_000a1.xml"),
                                               QStringLiteral("IT01234567897")),
                 361);
        QCOMPARE(EInvoiceFolder::progressiveOf(QStringLiteral("IT01234567898_00001.xml"),
                                               QStringLiteral("IT01234567897")),
                 0);
    }

    void intermediaryNamesTheFiles() {
        ShopFixture f;
        setShop(f);
        setConfig(f, {{QStringLiteral("TRASMCOD"), QStringLiteral("09876543217")}});
        addCustomer(f, 5, QStringLiteral("CLIENTE SRL"), {{"PARTIVA", "12345678903"}});
        const qint64 key = storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 1, 10)});
        const auto outcome = writeInvoice(f, key);
        QVERIFY2(outcome.written, qPrintable(outcome.problems.join(u'\n')));
        QCOMPARE(outcome.fileName, QStringLiteral("IT09876543217_00001.xml"));
        const QString xml = readFile(outcome.path);
        QCOMPARE(elements(xml, QStringLiteral("IdCodice")).value(0), QStringLiteral("09876543217"));
        QCOMPARE(elements(xml, QStringLiteral("IdCodice")).value(1), QStringLiteral("01234567897"));
    }

    void ratesAndNatures() {
        ShopFixture f;
        setShop(f);
        addCustomer(f, 5, QStringLiteral("CLIENTE SRL"), {{"PARTIVA", "12345678903"}});
        // A line without its own rate takes the shop's; one at 10 % keeps it.
        const qint64 key = storeInvoice(f, 5,
                                        {line(1, QStringLiteral("ROSSO"), 1, 1, 12.2, 0, 0),
                                         line(2, QStringLiteral("BLU"), 1, 2, 11, 0, 10)});
        auto outcome = writeInvoice(f, key);
        QVERIFY2(outcome.written, qPrintable(outcome.problems.join(u'\n')));
        QString xml = readFile(outcome.path);
        QCOMPARE(elements(xml, QStringLiteral("AliquotaIVA")),
                 (QStringList{"22.00", "10.00", "22.00", "10.00"}));
        QCOMPARE(elements(xml, QStringLiteral("ImponibileImporto")),
                 (QStringList{"10.00", "20.00"}));

        // A shop whose rate is 0: its lines take the nature it chose.
        setConfig(f, {{QStringLiteral("IMPOBOL"), 0}});
        outcome = writeInvoice(f, key);
        xml = readFile(outcome.path);
        QCOMPARE(elements(xml, QStringLiteral("Natura")), (QStringList{"N4", "N4"}));
        QCOMPARE(elements(xml, QStringLiteral("RiferimentoNormativo")),
                 QStringList{"Art. 10 DPR 633/72"});
        QCOMPARE(SchemaValidator().validate(xml.toUtf8()), QStringList());
        // Without a nature chosen the file is refused, saying where to choose it.
        setConfig(f, {{QStringLiteral("NATURA"), QString()}});
        outcome = writeInvoice(f, key);
        QVERIFY(!outcome.written);
        QVERIFY(outcome.problems.join(u' ').contains(QStringLiteral("\"Dati fiscali\"")));
    }

    void flatRateShop() {
        ShopFixture f;
        setShop(f);
        setConfig(f, {{QStringLiteral("REGFISC"), QStringLiteral("RF19")}});
        addCustomer(f, 5, QStringLiteral("CLIENTE SRL"), {{"PARTIVA", "12345678903"}});
        const qint64 small = storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 1, 77.47)});
        const qint64 large = storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 1, 77.48)});
        auto outcome = writeInvoice(f, small);
        QVERIFY2(outcome.written, qPrintable(outcome.problems.join(u'\n')));
        QString xml = readFile(outcome.path);
        QCOMPARE(elements(xml, QStringLiteral("RegimeFiscale")), QStringList{"RF19"});
        QCOMPARE(elements(xml, QStringLiteral("Natura")), (QStringList{"N2.2", "N2.2"}));
        QCOMPARE(elements(xml, QStringLiteral("Imposta")), QStringList{"0.00"});
        QVERIFY(!xml.contains(QStringLiteral("DatiBollo")));
        outcome = writeInvoice(f, large);
        xml = readFile(outcome.path);
        QCOMPARE(elements(xml, QStringLiteral("ImportoBollo")), QStringList{"2.00"});
        QCOMPARE(elements(xml, QStringLiteral("ImportoTotaleDocumento")), QStringList{"77.48"});
        QCOMPARE(SchemaValidator().validate(xml.toUtf8()), QStringList());
    }

    void creditNote() {
        ShopFixture f;
        setShop(f);
        addCustomer(f, 5, QStringLiteral("CLIENTE SRL"), {{"PARTIVA", "12345678903"}});
        const qint64 invoice = storeInvoice(f, 5,
                                            {line(1, QStringLiteral("ROSSO"), 1, 3, 19.99, 10),
                                             line(2, QStringLiteral("BLU"), 2, 1, 50)});
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), -3.0);
        QString error;
        // Only what was invoiced comes back.
        QCOMPARE(CreditNote::create(*f.shop, invoice, {4, 0}, &error), 0);
        QVERIFY(error.contains(QStringLiteral("al massimo 3")));
        QCOMPARE(CreditNote::create(*f.shop, invoice, {0, 0}, &error), 0);
        const qint64 note = CreditNote::create(*f.shop, invoice, {2, 0}, &error);
        QVERIFY2(note != 0, qPrintable(error));
        // Its own document, numbered after the invoice, with negative amounts,
        // the stock given back.
        QCOMPARE(invoiceValue(f, note, QStringLiteral("NUMDOC")).toInt(), 2);
        QCOMPARE(invoiceValue(f, note, QStringLiteral("TIPODOC")).toString(),
                 QStringLiteral("TD04"));
        QCOMPARE(invoiceValue(f, note, QStringLiteral("NUMRIF")).toLongLong(), invoice);
        QCOMPARE(VatBreakdown::cents(invoiceValue(f, note, QStringLiteral("TOTALE")).toDouble()),
                 -3598);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 1), -1.0);
        // Every sum over the invoices counts it against the invoice.
        PurchaseTotals totals;
        totals.rebuild(f.db());
        QCOMPARE(VatBreakdown::cents(totals.total(5)), 10397 - 3598);
        // What is left to give back.
        const auto lines = CreditNote::linesOf(*f.shop, invoice);
        QCOMPARE(lines[0].returned, 2.0);
        QCOMPARE(lines[0].returnable(), 1.0);
        QCOMPARE(CreditNote::create(*f.shop, invoice, {2, 0}, &error), 0);
        QCOMPARE(CreditNote::create(*f.shop, note, {1}, &error), 0);

        const auto outcome = writeInvoice(f, note);
        QVERIFY2(outcome.written, qPrintable(outcome.problems.join(u'\n')));
        const QString xml = readFile(outcome.path);
        QCOMPARE(SchemaValidator().validate(xml.toUtf8()), QStringList());
        QCOMPARE(elements(xml, QStringLiteral("TipoDocumento")), QStringList{"TD04"});
        QCOMPARE(elements(xml, QStringLiteral("IdDocumento")), QStringList{"1"});
        QCOMPARE(elements(xml, QStringLiteral("Data")), (QStringList{"2026-03-15", "2026-03-15"}));
        QCOMPARE(elements(xml, QStringLiteral("ImportoTotaleDocumento")), QStringList{"35.98"});
        QCOMPARE(elements(xml, QStringLiteral("Quantita")), QStringList{"2.00"});
        QCOMPARE(elements(xml, QStringLiteral("ImponibileImporto")).size(), 1);
        QCOMPARE(elements(xml, QStringLiteral("Causale")), QStringList{"Reso merce"});
    }

    void notifications() {
        ShopFixture f;
        setShop(f);
        addCustomer(f, 5, QStringLiteral("CLIENTE SRL"), {{"PARTIVA", "12345678903"}});
        QList<qint64> keys;
        QStringList names;
        for (int i = 0; i < 4; ++i) {
            keys << storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 1, 10 + i)});
            names << writeInvoice(f, keys.last()).fileName;
        }
        QTemporaryDir inbox;
        writeNotice(inbox.filePath(QStringLiteral("a_RC_001.xml")),
                    QStringLiteral("RicevutaConsegna"), names[0],
                    QStringLiteral("<DataOraConsegna>2026-03-16T10:00:00</DataOraConsegna>"));
        writeNotice(
            inbox.filePath(QStringLiteral("b_NS_001.xml")), QStringLiteral("NotificaScarto"),
            names[1] + QStringLiteral(".p7m"),
            QStringLiteral("<ListaErrori><Errore><Codice>00404</Codice><Descrizione>Fattura "
                           "duplicata</Descrizione></Errore><Errore><Codice>00305</Codice>"
                           "</Errore></ListaErrori>"));
        writeNotice(inbox.filePath(QStringLiteral("c_MC_001.xml")),
                    QStringLiteral("NotificaMancataConsegna"), names[2]);
        writeNotice(inbox.filePath(QStringLiteral("d_RC_001.xml")),
                    QStringLiteral("RicevutaConsegna"), QStringLiteral("IT99999999999_00001.xml"));
        const auto report = SdiNotifications::import(f.db(), inbox.path());
        QCOMPARE(report.files, 4);
        QCOMPARE(report.matched, 3);
        QCOMPARE(report.unmatched, QStringList{"d_RC_001.xml"});
        QCOMPARE(invoiceValue(f, keys[0], QStringLiteral("FESTATO")).toInt(),
                 int(EInvoiceState::Delivered));
        QCOMPARE(invoiceValue(f, keys[0], QStringLiteral("FENOTE")).toString(),
                 QStringLiteral("Consegnata il 2026-03-16"));
        QCOMPARE(invoiceValue(f, keys[1], QStringLiteral("FESTATO")).toInt(),
                 int(EInvoiceState::Rejected));
        QCOMPARE(invoiceValue(f, keys[1], QStringLiteral("FENOTE")).toString(),
                 QStringLiteral("00404 Fattura duplicata; 00305"));
        QCOMPARE(invoiceValue(f, keys[2], QStringLiteral("FESTATO")).toInt(),
                 int(EInvoiceState::NotDelivered));
        QCOMPARE(invoiceValue(f, keys[3], QStringLiteral("FESTATO")).toInt(),
                 int(EInvoiceState::Written));

        // The intermediary took the last file from the folder: it is sent.
        QVERIFY(QFile::remove(QDir(feFolder(f)).filePath(names[3])));
        QCOMPARE(SdiNotifications::markCollected(f.db(), feFolder(f)), 1);
        QCOMPARE(invoiceValue(f, keys[3], QStringLiteral("FESTATO")).toInt(),
                 int(EInvoiceState::Sent));
        QVERIFY(!SdiNotifications::markSent(f.db(), keys[3]));
        // A rejected invoice is written again and marked sent by hand.
        QVERIFY(writeInvoice(f, keys[1]).written);
        QVERIFY(SdiNotifications::markSent(f.db(), keys[1]));
        QCOMPARE(invoiceValue(f, keys[1], QStringLiteral("FESTATO")).toInt(),
                 int(EInvoiceState::Sent));
    }

    void period() {
        ShopFixture f;
        setShop(f);
        addCustomer(f, 5, QStringLiteral("CLIENTE SRL"), {{"PARTIVA", "12345678903"}});
        storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 1, 10)}, QDate(2026, 2, 28));
        const qint64 march =
            storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 1, 10)}, QDate(2026, 3, 1));
        storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 1, 10)}, QDate(2026, 4, 1));
        QTemporaryDir out;
        EInvoiceExport writer(f.db(), out.path());
        const auto outcomes = writer.writePeriod(QDate(2026, 3, 1), QDate(2026, 3, 31));
        QCOMPARE(outcomes.size(), 1);
        QCOMPARE(outcomes[0].key, march);
        QVERIFY(outcomes[0].written);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files), QStringList{outcomes[0].fileName});
    }
};

QTEST_GUILESS_MAIN(TestEInvoice)
#include "tst_einvoice.moc"
