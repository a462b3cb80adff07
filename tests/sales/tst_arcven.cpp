#include "tst_arcven_data.h"

#include "catalogue/TableGrid.h"
#include "common/ArchiveInPanel.h"
#include "common/Widgets.h"
#include "printing/PrintService.h"
#include "printing/RecordingCanvas.h"
#include "sales/TFArcVen.h"
#include "sales/TFBanco.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

using namespace corvale;

namespace {

// The "Numero" column of the list.
QStringList listed(TFArcVen &w) {
    QStringList out;
    TableModel &m = w.list().model();
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.data(m.index(r, 1)).toString().trimmed();
    return out;
}

QString shownSum(TFArcVen &w) {
    return testing::child<QLabel>(w, "Somma")->text().trimmed();
}

void choosePeriod(TFArcVen &w, const char *choice) {
    auto *box = testing::child<QComboBox>(w, "Periodo");
    box->setCurrentIndex(box->findText(QString::fromUtf8(choice)));
}

void search(ShopFixture &f, TFArcVen &w, const QString &code, const QString &error = {}) {
    f.prompter.expectInput(QStringLiteral("Ricerca Vendita"),
                           QStringLiteral("Inserici il codice dell'articolo"), code);
    if (!error.isEmpty())
        f.prompter.expectError(error);
    testing::click(w, "Cerca");
}

} // namespace

class TestTFArcVen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void periodsSearchAndSum() {
        ShopFixture f; // 15 March 2026
        addDocumentData(f);
        const QString shoe = lineCode(1, 1, 3);
        const QString sandal = lineCode(2, 2, 1);
        // Keys the old search could not note.
        f.shop->routines().SetCounter(QStringLiteral("VENDITE"), 15000);
        storeSale(f, QDate(2026, 3, 15), 1, {{1, "ROSSO", 3, 1, 10}});
        storeSale(f, QDate(2026, 3, 15), 2, {{2, "BLU", 1, 2, 15}});
        storeSale(f, QDate(2026, 3, 10), 3, {{1, "ROSSO", 3, 1, 20}, {2, "ROSSO", 4, 1, 5}});
        storeSale(f, QDate(2026, 1, 20), 4, {{1, "ROSSO", 3, 1, 40}});
        storeSale(f, QDate(2025, 3, 10), 5, {{1, "ROSSO", 3, 1, 80}});
        storeSale(f, QDate(2025, 12, 31), 6, {{2, "BLU", 1, 1, 160}});
        TFArcVen w(*f.shop);
        w.resize(1000, 700);
        w.show();

        // Opened on today's sales.
        QCOMPARE(testing::child<QComboBox>(w, "Periodo")->currentText(),
                 QStringLiteral("Dal... Al..."));
        auto *from = testing::child<QLineEdit>(w, "DAL");
        QVERIFY(from->isVisibleTo(&w));
        QCOMPARE(from->text(), QStringLiteral("15/03/2026"));
        QCOMPARE(testing::child<QLineEdit>(w, "AL")->text(), QStringLiteral("15/03/2026"));
        QCOMPARE(listed(w), (QStringList{"1", "2"}));
        QCOMPARE(shownSum(w), QStringLiteral("40,00"));
        QCOMPARE(w.detail().rowCount(), 1);
        w.list().selectRow(1);
        QCOMPARE(w.detail().model().data(w.detail().model().index(0, 0)).toString(), sandal);

        choosePeriod(w, "Mese Corrente");
        QVERIFY(!from->isVisibleTo(&w));
        QCOMPARE(listed(w), (QStringList{"3", "1", "2"}));
        QCOMPARE(shownSum(w), QStringLiteral("65,00"));
        QCOMPARE(w.detail().rowCount(), 2);
        // A change of the hidden "DAL" applies the month again, unchanged.
        from->setText(QStringLiteral("01/01/2020"));
        Q_EMIT from->editingFinished();
        QCOMPARE(listed(w), (QStringList{"3", "1", "2"}));

        // The sales of a code within the period, and their sum.
        search(f, w, sandal);
        QCOMPARE(listed(w), QStringList{"2"});
        search(f, w, shoe);
        QCOMPARE(listed(w), (QStringList{"3", "1"}));
        QCOMPARE(shownSum(w), QStringLiteral("35,00"));
        choosePeriod(w, "Anno Corrente");
        QCOMPARE(listed(w), (QStringList{"4", "3", "1"}));
        // Over every date: the sales of the last search only; the sandal
        // sale of 2025, found by the search before, is not listed.
        choosePeriod(w, "< Qualsiasi >");
        QCOMPARE(listed(w), (QStringList{"5", "4", "3", "1"}));

        // A code no sale has: said, and the list stays as it was.
        search(f, w, QStringLiteral("X'1"), QStringLiteral("Nessuna vendita trovata!"));
        QCOMPARE(listed(w), (QStringList{"5", "4", "3", "1"}));
        // An empty answer lists the whole period again.
        search(f, w, QString());
        QCOMPARE(listed(w), (QStringList{"5", "6", "4", "3", "1", "2"}));
        QCOMPARE(shownSum(w), QStringLiteral("345,00"));

        // "Dal... Al..." from the boxes; a date that does not exist is refused.
        choosePeriod(w, "Dal... Al...");
        from->setText(QStringLiteral("31/02/2026"));
        f.prompter.expectError(QStringLiteral("Data non valida: 31/02/2026"));
        Q_EMIT from->editingFinished();
        from->setText(QStringLiteral("01/01/2026"));
        Q_EMIT from->editingFinished();
        QCOMPARE(listed(w), (QStringList{"4", "3", "1", "2"}));

        // A new showing forgets the search and the period.
        search(f, w, sandal);
        QCOMPARE(listed(w), QStringList{"2"});
        w.hide();
        w.show();
        QCOMPARE(listed(w), (QStringList{"1", "2"}));
        QVERIFY(f.prompter.done());
    }

    void printedListAndChart() {
        ShopFixture f;
        addDocumentData(f);
        f.shop->texts().nameLine1 = QStringLiteral("CALZATURE ROSSI");
        storeSale(f, QDate(2026, 3, 15), 41, {{1, "ROSSO", 3, 2, 61}});
        storeSale(f, QDate(2026, 3, 1), 40, {{1, "ROSSO", 3, 1, 1000}});
        TFArcVen w(*f.shop);
        w.show();
        auto service = std::make_unique<RecordingPrintService>();
        RecordingPrintService &jobs = *service;
        f.shop->setPrintService(std::move(service));
        testing::click(w, "Stampa");
        choosePeriod(w, "Mese Corrente");
        testing::click(w, "Stampa");
        QCOMPARE(jobs.jobs().size(), 2);
        const RecordingCanvas &today = *jobs.jobs()[0].canvas;
        QVERIFY(today.findText(QStringLiteral("CALZATURE ROSSI")));
        QVERIFY(
            today.findText(QStringLiteral("ELENCO VENDITE ESEGUITE DAL 15/03/2026 AL 15/03/2026")));
        QVERIFY(today.findText(QStringLiteral("41")));
        QVERIFY(!today.findText(QStringLiteral("40")));
        QCOMPARE(today.textsContaining(QStringLiteral("122,00")).size(), 2);
        const RecordingCanvas &month = *jobs.jobs()[1].canvas;
        QVERIFY(month.findText(QStringLiteral("ELENCO VENDITE ESEGUITE NEL MESE 03/2026")));
        QVERIFY(month.findText(QStringLiteral("15/03/2026")));
        QCOMPARE(month.textsContaining(QStringLiteral("1.122,00")).size(), 1);

        // "Grafico" says so until the chart is wired, then opens it.
        f.prompter.expectInformation(QStringLiteral("Funzione non ancora disponibile"));
        testing::click(w, "Grafico");
        int charts = 0;
        w.setChartWindow([&] { ++charts; });
        testing::click(w, "Grafico");
        QCOMPARE(charts, 1);
        QVERIFY(f.prompter.done());
    }

    void deletingGivesTheStockBack() {
        ShopFixture f;
        addDocumentData(f);
        storeSale(f, QDate(2026, 3, 15), 1, {{1, "ROSSO", 3, 2, 10}, {2, "BLU", 1, 1, 10}});
        const qint64 kept = storeSale(f, QDate(2026, 3, 15), 2, {{1, "ROSSO", 3, 1, 10}});
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), -3.0);
        QCOMPARE(stockCell(f, 2, QStringLiteral("BLU"), 1), -1.0);
        TFArcVen w(*f.shop);
        w.show();
        QCOMPARE(listed(w), (QStringList{"1", "2"}));

        f.prompter.expectConfirm(QStringLiteral("Eliminare la Vendita selezionata?"), false);
        testing::click(w, "Elimina");
        QCOMPARE(listed(w).size(), 2);
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), -3.0);
        f.prompter.expectConfirm(QStringLiteral("Eliminare la Vendita selezionata?"), true);
        testing::click(w, "Elimina");
        QCOMPARE(listed(w), QStringList{"2"});
        QCOMPARE(shownSum(w), QStringLiteral("10,00"));
        QCOMPARE(stockCell(f, 1, QStringLiteral("ROSSO"), 3), -1.0);
        QCOMPARE(stockCell(f, 2, QStringLiteral("BLU"), 1), 0.0);
        QCOMPARE(f.column(QStringLiteral("ARCART_V"), DocumentKind::counterSale().lineKey),
                 QStringList{QString::number(kept)});
        QVERIFY(f.prompter.done());
    }

    void documentWindowOpensInThePanelAndReportsBack() {
        ShopFixture f;
        addDocumentData(f);
        testing::ArchiveInPanel<TFArcVen> placed(*f.shop);
        TFArcVen &w = placed.w;
        QVERIFY(w.list().isEmpty());
        // With an empty list there is nothing to change or delete.
        testing::click(w, "Modifica");
        testing::click(w, "Elimina");
        QVERIFY(!w.saleWindow());

        testing::click(w, "Nuova");
        QPointer<TFBanco> sale = w.saleWindow();
        QVERIFY(sale);
        QCOMPARE(sale->parentWidget(), &placed.panel);
        QCOMPARE(sale->geometry(), placed.panel.rect());
        QVERIFY(sale->isVisible());
        QCOMPARE(sale->DocumentKey, qint64(0));
        QCOMPARE(sale->opener(), static_cast<OpenerWindow *>(&w));

        // The sale window stores a sale and, hiding, tells the archive.
        const qint64 key = storeSale(f, QDate(2026, 3, 15), 1, {{1, "ROSSO", 3, 1, 25}});
        QVERIFY(w.list().isEmpty());
        sale->hide();
        sale->opener()->receiveNotification(1);
        QCOMPARE(listed(w), QStringList{"1"});
        QCOMPARE(shownSum(w), QStringLiteral("25,00"));
        QCOMPARE(w.detail().rowCount(), 1);

        // "Modifica" and a double click replace the window with one on the stored sale.
        testing::click(w, "Modifica");
        QVERIFY(!sale);
        sale = w.saleWindow();
        QCOMPARE(sale->DocumentKey, key);
        Q_EMIT w.list().doubleClicked(w.list().model().index(0, 0));
        QVERIFY(!sale);
        QCOMPARE(w.saleWindow()->DocumentKey, key);
        // Opened from elsewhere, the window reports to its opener.
        w.openSale(0, &placed.hub);
        QCOMPARE(w.saleWindow()->opener(), static_cast<OpenerWindow *>(&placed.hub));
        QCOMPARE(placed.panel.findChildren<TFBanco *>().size(), 1);

        testing::click(w, "Uscita");
        QVERIFY(!w.isVisible());
        QCOMPARE(placed.hub.codes, QList<int>{1});
        // Closed, the archive ignores late notifications.
        w.receiveNotification(1);
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestTFArcVen)
#include "tst_arcven.moc"
