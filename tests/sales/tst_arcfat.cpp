#include "tst_arcven_data.h"

#include "catalogue/TableGrid.h"
#include "common/ArchiveInPanel.h"
#include "common/Widgets.h"
#include "printing/PrintService.h"
#include "printing/RecordingCanvas.h"
#include "sales/TFArcFat.h"
#include "sales/TFFattura.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

using namespace corvale;

namespace {

// The "Cliente" column of the list.
QStringList listed(TFArcFat &w) {
    QStringList out;
    TableModel &m = w.list().model();
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.data(m.index(r, 0)).toString().trimmed();
    return out;
}

QString shownSum(TFArcFat &w) {
    return testing::child<QLabel>(w, "Somma")->text().trimmed();
}

void choose(TFArcFat &w, const char *box, const char *choice) {
    auto *combo = testing::child<QComboBox>(w, box);
    combo->setCurrentIndex(combo->findText(QString::fromUtf8(choice)));
}

} // namespace

class TestTFArcFat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void periodsOrderAndPrintedList() {
        ShopFixture f; // 15 March 2026
        addDocumentData(f);
        storeInvoice(f, QDate(2026, 3, 2), 1, QStringLiteral("VERDI"), {{1, "ROSSO", 3, 1, 100}});
        storeInvoice(f, QDate(2026, 3, 14), 2, QStringLiteral("BIANCHI"), {{2, "BLU", 1, 1, 22}});
        storeInvoice(f, QDate(2026, 2, 27), 3, QStringLiteral("ALBERTI"), {{1, "ROSSO", 2, 1, 7}});
        storeInvoice(f, QDate(2026, 4, 30), 4, QStringLiteral("NERI"), {{1, "ROSSO", 2, 1, 9}});
        storeInvoice(f, QDate(2025, 3, 20), 9, QStringLiteral("ROSSI"), {{1, "ROSSO", 1, 1, 5}});
        // A counter sale of the month is not an invoice.
        storeSale(f, QDate(2026, 3, 15), 1, {{1, "ROSSO", 3, 1, 1}});
        TFArcFat w(*f.shop);
        w.resize(1000, 700);
        w.show();

        // Opened on the current month, by customer, "DAL" at the year's start.
        QCOMPARE(testing::child<QComboBox>(w, "Periodo")->currentText(),
                 QStringLiteral("Mese Corrente"));
        QCOMPARE(testing::child<QComboBox>(w, "OrdinaPer")->currentText(),
                 QStringLiteral("Cliente"));
        QVERIFY(!testing::child<QLineEdit>(w, "DAL")->isVisibleTo(&w));
        QCOMPARE(testing::child<QLineEdit>(w, "DAL")->text(), QStringLiteral("01/01/2026"));
        QCOMPARE(testing::child<QLineEdit>(w, "AL")->text(), QStringLiteral("15/03/2026"));
        QCOMPARE(listed(w), (QStringList{"BIANCHI", "VERDI"}));
        QCOMPARE(shownSum(w), QStringLiteral("122,00"));
        QCOMPARE(w.detail().rowCount(), 1);

        choose(w, "OrdinaPer", "Data");
        QCOMPARE(listed(w), (QStringList{"VERDI", "BIANCHI"}));
        choose(w, "Periodo", "Anno Corrente");
        QCOMPARE(listed(w), (QStringList{"ALBERTI", "VERDI", "BIANCHI", "NERI"}));
        choose(w, "OrdinaPer", "Cliente");
        QCOMPARE(listed(w), (QStringList{"ALBERTI", "BIANCHI", "NERI", "VERDI"}));
        choose(w, "Periodo", "< Qualsiasi >");
        QCOMPARE(listed(w).size(), 5);
        QCOMPARE(shownSum(w), QStringLiteral("143,00"));
        choose(w, "Periodo", "Dal... Al...");
        QVERIFY(testing::child<QLineEdit>(w, "DAL")->isVisibleTo(&w));
        QCOMPARE(listed(w), (QStringList{"ALBERTI", "BIANCHI", "VERDI"}));

        auto service = std::make_unique<RecordingPrintService>();
        RecordingPrintService &jobs = *service;
        f.shop->setPrintService(std::move(service));
        testing::click(w, "Stampa");
        QCOMPARE(jobs.jobs().size(), 1);
        const RecordingCanvas &page = *jobs.jobs()[0].canvas;
        QVERIFY(
            page.findText(QStringLiteral("ELENCO FATTURE EMESSE DAL 01/01/2026 AL 15/03/2026")));
        QVERIFY(page.findText(QStringLiteral("Cliente")));
        // In the list's order.
        QVERIFY(page.findText(QStringLiteral("ALBERTI"))->position.y() <
                page.findText(QStringLiteral("VERDI"))->position.y());
        QVERIFY(page.findText(QStringLiteral("27/02/2026")));
        QCOMPARE(page.textsContaining(QStringLiteral("129,00")).size(), 1);

        // A new showing: the current month, by customer, whatever was chosen.
        choose(w, "OrdinaPer", "Data");
        w.hide();
        w.show();
        QCOMPARE(testing::child<QComboBox>(w, "OrdinaPer")->currentText(),
                 QStringLiteral("Cliente"));
        QCOMPARE(listed(w), (QStringList{"BIANCHI", "VERDI"}));

        // A month of 30 days ends on its 30th.
        f.clock.setFixedDate(QDate(2026, 4, 30));
        w.hide();
        w.show();
        QCOMPARE(listed(w), QStringList{"NERI"});
        QVERIFY(f.prompter.done());
    }

    void deleteNewAndEdit() {
        ShopFixture f;
        addDocumentData(f);
        const qint64 key = storeInvoice(f, QDate(2026, 3, 2), 1, QStringLiteral("VERDI"),
                                        {{1, "ROSSO", 3, 2, 100}, {2, "BLU", 1, 1, 10}});
        storeInvoice(f, QDate(2026, 3, 3), 2, QStringLiteral("ZETA"), {{1, "ROSSO", 3, 1, 50}});
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), -3.0);
        testing::ArchiveInPanel<TFArcFat> placed(*f.shop);
        TFArcFat &w = placed.w;
        QCOMPARE(listed(w), (QStringList{"VERDI", "ZETA"}));

        testing::click(w, "Modifica");
        QPointer<TFFattura> invoice = w.invoiceWindow();
        QVERIFY(invoice);
        QCOMPARE(invoice->DocumentKey, key);
        QCOMPARE(invoice->parentWidget(), &placed.panel);
        QCOMPARE(invoice->geometry(), placed.panel.rect());
        QCOMPARE(invoice->opener(), static_cast<OpenerWindow *>(&w));
        testing::click(w, "Nuova");
        QVERIFY(!invoice);
        QCOMPARE(w.invoiceWindow()->DocumentKey, qint64(0));
        w.openInvoice(0, &placed.hub);
        QCOMPARE(w.invoiceWindow()->opener(), static_cast<OpenerWindow *>(&placed.hub));
        QCOMPARE(placed.panel.findChildren<TFFattura *>().size(), 1);

        f.prompter.expectConfirm(QStringLiteral("Eliminare la Fattura selezionata?"), false);
        testing::click(w, "Elimina");
        QCOMPARE(listed(w).size(), 2);
        f.prompter.expectConfirm(QStringLiteral("Eliminare la Fattura selezionata?"), true);
        testing::click(w, "Elimina");
        QCOMPARE(listed(w), QStringList{"ZETA"});
        QCOMPARE(shownSum(w), QStringLiteral("50,00"));
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), -1.0);
        QCOMPARE(stockCell(f, 2, QStringLiteral("BLU"), 1), 0.0);
        QCOMPARE(f.column(QStringLiteral("ARCART_V"), QStringLiteral("DESCRIZION")).size(), 1);

        // A stored invoice reported back is listed at once.
        storeInvoice(f, QDate(2026, 3, 15), 3, QStringLiteral("ALFA"), {{1, "ROSSO", 1, 1, 1}});
        w.receiveNotification(0);
        QCOMPARE(listed(w), (QStringList{"ALFA", "ZETA"}));

        testing::click(w, "Uscita");
        QVERIFY(!w.isVisible());
        QCOMPARE(placed.hub.codes, QList<int>{1});
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestTFArcFat)
#include "tst_arcfat.moc"
