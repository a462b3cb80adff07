#include "sales/einvoice/EInvoiceShop.h"

#include "catalogue/TableGrid.h"
#include "common/Widgets.h"
#include "printing/PrintService.h"
#include "printing/RecordingCanvas.h"
#include "purchasing/TFFornitore.h"
#include "sales/TFArcFat.h"
#include "sales/TFFattura.h"
#include "sales/TFNotaCredito.h"
#include "sales/einvoice/EInvoiceState.h"
#include "shell/TFConfig.h"
#include "widgets/TableModel.h"

#include <QComboBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace corvale;
using namespace einvoicetest;

namespace {

QString feFile(ShopFixture &f, const QString &name) {
    return f.dir.filePath(QStringLiteral("archivio/FE/") + name);
}

// The "Stato FE" column of the listed invoices.
QStringList states(TFArcFat &w) {
    QStringList out;
    const int column = w.list().model().columnOf(QStringLiteral("cStatoFE"));
    for (int r = 0; r < w.list().model().rowCount(); ++r)
        out << w.list().model().data(w.list().model().index(r, column)).toString();
    return out;
}

void prepare(ShopFixture &f) {
    setShop(f);
    addCustomer(f, 5, QStringLiteral("CLIENTE SRL"), {{"PARTIVA", "12345678903"}});
}

} // namespace

class TestEInvoiceWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shopFiscalData() {
        ShopFixture f;
        TFConfig w(*f.shop);
        w.show();
        auto *tabs = testing::child<QTabWidget>(w, "PageControl");
        QCOMPARE(tabs->tabText(1), QStringLiteral("Dati fiscali"));
        // A new folder is in the ordinary regime.
        QCOMPARE(testing::child<QComboBox>(w, "REGFISC")->currentText(), QStringLiteral("RF01"));
        tabs->setCurrentIndex(1);
        testing::type(w, "CODFISC", QStringLiteral("rssmra80a41h501u"));
        testing::type(w, "CAPFISC", QStringLiteral("0a0184"));
        testing::type(w, "COMUNE", QStringLiteral("ROMA"));
        testing::type(w, "PROVINCIA", QStringLiteral("rm"));
        auto *regime = testing::child<QComboBox>(w, "REGFISC");
        regime->setCurrentIndex(regime->findText(QStringLiteral("RF19")));
        auto *nature = testing::child<QComboBox>(w, "NATURA");
        nature->setCurrentIndex(nature->findText(QStringLiteral("N2.2")));
        testing::click(w, "BSalva");
        QCOMPARE(f.column(QStringLiteral("CONFIG"), QStringLiteral("CODFISC")),
                 QStringList{"RSSMRA80A41H501U"});
        QCOMPARE(f.column(QStringLiteral("CONFIG"), QStringLiteral("CAPFISC")),
                 QStringList{"00184"});
        QCOMPARE(f.column(QStringLiteral("CONFIG"), QStringLiteral("PROVINCIA")),
                 QStringList{"RM"});
        QCOMPARE(f.column(QStringLiteral("CONFIG"), QStringLiteral("REGFISC")),
                 QStringList{"RF19"});
        QCOMPARE(f.column(QStringLiteral("CONFIG"), QStringLiteral("NATURA")), QStringList{"N2.2"});
        QVERIFY(f.prompter.done());
    }

    void customerCard() {
        ShopFixture f;
        TFFornitore card(*f.shop);
        card.CustomerMode = true;
        card.NewRecord = true;
        card.show();
        QTest::keyClicks(testing::child<QLineEdit>(card, "RagSociale"),
                         QStringLiteral("CLIENTE SRL"));
        testing::type(card, "PartitaIVA", QStringLiteral("12345678903"));
        testing::type(card, "CodiceDestinatario", QStringLiteral("m5uxcr1"));
        testing::type(card, "PEC", QStringLiteral("cliente@pec.it"));
        testing::type(card, "Provincia", QStringLiteral("mi"));
        QCOMPARE(testing::child<QLineEdit>(card, "CodiceDestinatario")->text(),
                 QStringLiteral("M5UXCR1"));
        testing::click(card, "BSalva");
        QCOMPARE(f.column(QStringLiteral("CLIENTI"), QStringLiteral("PARTIVA")),
                 QStringList{"12345678903"});
        QCOMPARE(f.column(QStringLiteral("CLIENTI"), QStringLiteral("CODDEST")),
                 QStringList{"M5UXCR1"});
        QCOMPARE(f.column(QStringLiteral("CLIENTI"), QStringLiteral("PEC")),
                 QStringList{"cliente@pec.it"});
        QCOMPARE(f.column(QStringLiteral("CLIENTI"), QStringLiteral("PROVINCIA")),
                 QStringList{"MI"});
        // Editing shows them again.
        card.NewRecord = false;
        card.RecordCode = card.RecordCode;
        card.show();
        QCOMPARE(testing::child<QLineEdit>(card, "PartitaIVA")->text(),
                 QStringLiteral("12345678903"));
        testing::click(card, "BAnnulla");
        QVERIFY(f.prompter.done());
    }

    void invoiceWindowWritesTheFile() {
        ShopFixture f;
        prepare(f);
        const qint64 key = storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 1, 122)});
        TFFattura w(*f.shop);
        w.DocumentKey = key;
        w.show();
        f.prompter.expectInformation(
            QStringLiteral("Fattura elettronica scritta:\r") +
            QDir::toNativeSeparators(feFile(f, "IT01234567897_00001.xml")));
        testing::click(w, "Fattura elettronica");
        QVERIFY(QFile::exists(feFile(f, "IT01234567897_00001.xml")));
        QVERIFY(!w.isVisible());
        QVERIFY(f.prompter.done());

        // Without a customer's codes the invoice is stored but no file is written.
        addCustomer(f, 6, QStringLiteral("SENZA CODICI"), {});
        const qint64 other = storeInvoice(f, 6, {line(1, QStringLiteral("ROSSO"), 1, 1, 10)});
        TFFattura again(*f.shop);
        again.DocumentKey = other;
        again.show();
        f.prompter.expectError(
            QStringLiteral("Fattura elettronica non scritta:\rManca il codice fiscale o la partita "
                           "IVA del cliente: compilare \"Codice fiscale\" o \"Partita IVA\" nella "
                           "scheda del cliente. (00417)"));
        testing::click(again, "Fattura elettronica");
        QVERIFY(f.prompter.done());
    }

    void printedInvoiceShowsTheRates() {
        ShopFixture f;
        prepare(f);
        const qint64 key = storeInvoice(f, 5,
                                        {line(1, QStringLiteral("ROSSO"), 1, 1, 122),
                                         line(2, QStringLiteral("BLU"), 1, 1, 110, 0, 10)});
        auto service = std::make_unique<RecordingPrintService>();
        RecordingPrintService *printer = service.get();
        f.shop->setPrintService(std::move(service));
        TFFattura w(*f.shop);
        w.DocumentKey = key;
        w.show();
        f.prompter.expectInput(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                               QStringLiteral("1"));
        testing::click(w, "Stampa");
        QVERIFY(f.prompter.done());
        QCOMPARE(printer->jobs().size(), 1);
        const QStringList texts = printer->jobs()[0].canvas->textsInReadingOrder();
        QVERIFY(texts.contains(QStringLiteral("RIEPILOGO IVA")));
        QVERIFY(texts.contains(QStringLiteral("IVA 22,00 %")));
        QVERIFY(texts.contains(QStringLiteral("IVA 10,00 %")));
        // The boxes add the rates up: 100 + 100 taxable, 22 + 10 tax.
        QVERIFY(texts.contains(QStringLiteral("200,00")));
        QVERIFY(texts.contains(QStringLiteral("32,00")));
    }

    void archiveStatesAndCreditNote() {
        ShopFixture f;
        prepare(f);
        const qint64 first = storeInvoice(f, 5, {line(1, QStringLiteral("ROSSO"), 1, 2, 61)});
        storeInvoice(f, 5, {line(2, QStringLiteral("BLU"), 1, 1, 10)});
        TFArcFat w(*f.shop);
        w.resize(1200, 700);
        w.show();
        testing::child<QComboBox>(w, "OrdinaPer")->setCurrentIndex(0); // by date
        QCOMPARE(states(w), (QStringList{"", ""}));
        w.list().model().setCurrentRow(0);
        QCOMPARE(w.selectedKey(), first);
        f.prompter.expectInformation(QString());
        testing::click(w, "Fattura elettronica");
        QCOMPARE(states(w), (QStringList{"Scritta", ""}));
        testing::click(w, "Inviata");
        QCOMPARE(states(w), (QStringList{"Inviata", ""}));
        // Marking it again is refused.
        f.prompter.expectError(QString());
        testing::click(w, "Inviata");

        // Only the period's invoices not yet delivered: both still are.
        testing::click(w, "Da consegnare");
        QCOMPARE(states(w).size(), 2);
        setInvoiceValue(f, first, QStringLiteral("FESTATO"), int(EInvoiceState::Delivered));
        w.receiveNotification(1);
        testing::click(w, "Da consegnare");
        testing::click(w, "Da consegnare");
        QCOMPARE(states(w), QStringList{""});
        testing::click(w, "Da consegnare");
        QCOMPARE(states(w).size(), 2);

        // The second invoice's file written, then taken by the intermediary:
        // showing the archive again finds it sent.
        w.list().model().setCurrentRow(1);
        f.prompter.expectInformation(QString());
        testing::click(w, "Fattura elettronica");
        QCOMPARE(states(w), (QStringList{"Consegnata", "Scritta"}));
        QVERIFY(QFile::remove(feFile(f, "IT01234567897_00002.xml")));
        w.hide();
        w.show();
        testing::child<QComboBox>(w, "OrdinaPer")->setCurrentIndex(0);
        QCOMPARE(states(w), (QStringList{"Consegnata", "Inviata"}));

        // The credit note: one of the two pieces comes back.
        TFNotaCredito note(*f.shop, first);
        QVERIFY(note.prepare());
        QCOMPARE(note.grid()->rowCount(), 1);
        QCOMPARE(note.grid()->item(0, 5)->text(), QStringLiteral("2"));
        note.grid()->item(0, 5)->setText(QStringLiteral("1"));
        note.BSalvaClick();
        QVERIFY(note.CreatedKey != 0);
        QCOMPARE(invoiceValue(f, note.CreatedKey, QStringLiteral("TIPODOC")).toString(),
                 QStringLiteral("TD04"));
        w.receiveNotification(1);
        const int documents = w.list().model().columnOf(QStringLiteral("cDocumento"));
        QStringList kinds;
        for (int r = 0; r < w.list().model().rowCount(); ++r)
            kinds << w.list().model().data(w.list().model().index(r, documents)).toString();
        QCOMPARE(kinds, (QStringList{"Fattura", "Fattura", "Nota credito"}));
        // Nothing is left to give back of a credit note.
        TFNotaCredito ofNote(*f.shop, note.CreatedKey);
        f.prompter.expectError(QStringLiteral("Non c'è merce da rendere per questa fattura."));
        QVERIFY(!ofNote.prepare());
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestEInvoiceWindows)
#include "tst_einvoicewindows.moc"
