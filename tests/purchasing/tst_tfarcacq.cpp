#include "common/ArchiveInPanel.h"
#include "purchasing/ReceiptEntry.h"

#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "documents/LineBarcode.h"
#include "printing/PrintService.h"
#include "purchasing/TFArcAcq.h"
#include "purchasing/TFArcRidiF.h"
#include "shell/Shop.h"

#include <QLabel>
#include <QTimer>

using namespace corvale;

namespace {

// A stored receipt with one line of `code`.
void addReceipt(ShopFixture &f, qint64 key, const QDate &date, double total, const QString &code,
                const QString &supplier = QStringLiteral("ALFA")) {
    f.add(QStringLiteral("CARICHI"),
          {{QStringLiteral("NUMREG"), key},
           {QStringLiteral("NUMDOC"), int(key % 100)},
           {QStringLiteral("NUMCAR"), key + 1000},
           {QStringLiteral("DATADOC"), date},
           {QStringLiteral("MYDATA"), date.toString(QStringLiteral("yyyyMMdd"))},
           {QStringLiteral("RAGSOC"), supplier},
           {QStringLiteral("TOTALE"), total}});
    f.add(QStringLiteral("ARCART_A"),
          {{QStringLiteral("NUMCAR"), key},
           {QStringLiteral("NUMART"), 1},
           {QStringLiteral("BARCODE"), code},
           {QStringLiteral("DESCRIZION"), QStringLiteral("STIVALE CUOIO")},
           {QStringLiteral("QUANTITA"), 1.0}});
}

QStringList listed(TFArcAcq &w, int column = 0) {
    QStringList out;
    TableModel &m = w.list().model();
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.data(m.index(r, column)).toString();
    return out;
}

} // namespace

class TestTFArcAcq : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void periodOrderSearchAndSum() {
        ShopFixture f; // 15 March 2026
        const QString code = *lineBarcode(QStringLiteral("800001"), 1, 3);
        addReceipt(f, 5, QDate(2026, 3, 2), 100, code, QStringLiteral("BETA"));
        // A key the old search could not note.
        addReceipt(f, 12000, QDate(2026, 3, 20), 50.5, code, QStringLiteral("ALFA"));
        addReceipt(f, 7, QDate(2026, 3, 10), 30, QStringLiteral("800002101101"),
                   QStringLiteral("GAMMA"));
        addReceipt(f, 3, QDate(2026, 2, 28), 999, code, QStringLiteral("DELTA"));
        addReceipt(f, 2, QDate(2025, 3, 12), 1, code, QStringLiteral("EPSILON"));
        TFArcAcq w(*f.shop);
        w.resize(1000, 700);
        w.show();
        auto *sum = testing::child<QLabel>(w, "Somma");
        // Opened on the current month, by supplier.
        QCOMPARE(testing::child<QComboBox>(w, "Periodo")->currentText(),
                 QStringLiteral("Mese Corrente"));
        QCOMPARE(listed(w), (QStringList{"ALFA", "BETA", "GAMMA"}));
        QCOMPARE(listed(w, 2), (QStringList{"13000", "1005", "1007"}));
        QCOMPARE(sum->text().trimmed(), QStringLiteral("180,50"));
        QVERIFY(!testing::child<QLineEdit>(w, "DAL")->isVisibleTo(&w));
        QCOMPARE(w.detail().rowCount(), 1);

        testing::child<QComboBox>(w, "OrdinaPer")->setCurrentIndex(0);
        QCOMPARE(listed(w), (QStringList{"BETA", "GAMMA", "ALFA"}));

        // A code in two receipts of the month: exactly those, and their sum.
        f.prompter.expectInput(QStringLiteral("Ricerca Acquisti"),
                               QStringLiteral("Inserici il codice dell'articolo"), code);
        testing::click(w, "Cerca");
        QCOMPARE(listed(w), (QStringList{"BETA", "ALFA"}));
        QCOMPARE(sum->text().trimmed(), QStringLiteral("150,50"));
        testing::child<QComboBox>(w, "Periodo")->setCurrentIndex(1);
        QCOMPARE(listed(w), (QStringList{"DELTA", "BETA", "ALFA"}));
        // A code nowhere: said, and the list stays as it was.
        f.prompter
            .expectInput(QStringLiteral("Ricerca Acquisti"),
                         QStringLiteral("Inserici il codice dell'articolo"), QStringLiteral("X'1"))
            .expectError(QStringLiteral("Nessun Acquisto trovato!"));
        testing::click(w, "Cerca");
        QCOMPARE(listed(w).size(), 3);
        // An empty answer shows the whole period again.
        f.prompter.expectInput(QStringLiteral("Ricerca Acquisti"),
                               QStringLiteral("Inserici il codice dell'articolo"), QString());
        testing::click(w, "Cerca");
        QCOMPARE(listed(w), (QStringList{"DELTA", "BETA", "GAMMA", "ALFA"}));

        testing::child<QComboBox>(w, "Periodo")->setCurrentIndex(0);
        QCOMPARE(listed(w).size(), 5);
        testing::child<QComboBox>(w, "Periodo")->setCurrentIndex(3);
        QVERIFY(testing::child<QLineEdit>(w, "DAL")->isVisibleTo(&w));
        QCOMPARE(testing::child<QLineEdit>(w, "DAL")->text(), QStringLiteral("01/01/2026"));
        QCOMPARE(testing::child<QLineEdit>(w, "AL")->text(), QStringLiteral("15/03/2026"));
        QCOMPARE(listed(w), (QStringList{"DELTA", "BETA", "GAMMA"}));
        auto *from = testing::child<QLineEdit>(w, "DAL");
        from->setText(QStringLiteral("31/02/2026"));
        f.prompter.expectError(QStringLiteral("Data non valida: 31/02/2026"));
        Q_EMIT from->editingFinished();
        from->setText(QStringLiteral("01/03/2026"));
        Q_EMIT from->editingFinished();
        QCOMPARE(listed(w), (QStringList{"BETA", "GAMMA"}));

        // The printed list of the period, with its title and sum.
        auto service = std::make_unique<RecordingPrintService>();
        RecordingPrintService &jobs = *service;
        f.shop->setPrintService(std::move(service));
        testing::child<QComboBox>(w, "Periodo")->setCurrentIndex(2);
        testing::click(w, "Stampa");
        QCOMPARE(jobs.jobs().size(), 1);
        const RecordingCanvas &page = *jobs.jobs()[0].canvas;
        QVERIFY(page.findText(QStringLiteral("ELENCO ACQUISTI ESEGUITI NEL MESE 03/2026")));
        QVERIFY(page.findText(QStringLiteral("13000")));
        QVERIFY(page.findText(QStringLiteral("- 1 -")));
        QCOMPARE(page.textsContaining(QStringLiteral("180,50")).size(), 1);

        // "Pagamenti": the supplier payments, modal until their "Uscita".
        bool shown = false;
        QTimer::singleShot(0, &w, [&] {
            auto *payments = w.findChild<TFArcRidiF *>();
            shown = payments && payments->isVisible();
            if (payments)
                testing::click(*payments, "Uscita");
        });
        testing::click(w, "Pagamenti");
        QVERIFY(shown);
        QVERIFY(f.prompter.done());
    }

    void newEditAndDeleteThroughTheReceipt() {
        ShopFixture f;
        addDocumentData(f);
        testing::ArchiveInPanel<TFArcAcq> placed(*f.shop);
        TFArcAcq &w = placed.w;
        QVERIFY(w.list().isEmpty());

        testing::click(w, "Nuovo");
        QPointer<TFCarico> receipt = w.receiptWindow();
        QVERIFY(receipt);
        QCOMPARE(receipt->parentWidget(), &placed.panel);
        QCOMPARE(receipt->geometry(), placed.panel.rect());
        QVERIFY(receipt->isVisible());
        QCOMPARE(receipt->windowTitle(), QStringLiteral("Nuovo Carico"));
        chooseSupplier(*receipt, QStringLiteral("ALFA"));
        typeArticle(*receipt, QStringLiteral("STIVALE CUOIO"));
        loadSizes(*receipt, QStringLiteral("ROSSO"), {0, 0, 4});
        own(*receipt, "Salva")->click();
        // The archive heard back and shows the new receipt.
        QCOMPARE(listed(w), QStringList{"ALFA"});
        QCOMPARE(w.detail().rowCount(), 1);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), 4.0);

        // "Modifica" replaces the previous receipt window with one on the stored receipt.
        testing::click(w, "Modifica");
        QVERIFY(!receipt);
        receipt = w.receiptWindow();
        QCOMPARE(receipt->DocumentKey, f.counter(QStringLiteral("ACQUISTI")));
        QCOMPARE(receipt->windowTitle(), QStringLiteral("Modifica Carico"));
        QCOMPARE(sheetColumn(*receipt, sheet::QUANTITA), QStringList{"4"});
        own(*receipt, "Annulla")->click();
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), 4.0);

        f.prompter.expectConfirm(QStringLiteral("Eliminare l'Acquisto selezionato?"), false);
        testing::click(w, "Elimina");
        QCOMPARE(listed(w).size(), 1);
        f.prompter.expectConfirm(QStringLiteral("Eliminare l'Acquisto selezionato?"), true);
        testing::click(w, "Elimina");
        QVERIFY(listed(w).isEmpty());
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), 0.0);
        QCOMPARE(recordCount(f, QStringLiteral("ARCART_A")), 0);
        // With an empty list there is nothing to edit or delete.
        testing::click(w, "Modifica");
        testing::click(w, "Elimina");

        testing::click(w, "Uscita");
        QVERIFY(!w.isVisible());
        QCOMPARE(placed.hub.codes, QList<int>{1});
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestTFArcAcq)
#include "tst_tfarcacq.moc"
