#include "common/ShopFixture.h"
#include "common/Widgets.h"

#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "printing/PrintService.h"
#include "printing/RecordingCanvas.h"
#include "purchasing/TFAcconto.h"
#include "purchasing/TFArcRidiF.h"
#include "shell/CommonRoutines.h"
#include "widgets/TableModel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTimer>

using namespace corvale;

namespace {

void addDocument(ShopFixture &f, const char *table, qint64 key, QDate date, double total) {
    f.add(QString::fromLatin1(table), {{doc::NUMREG, key},
                                       {doc::NUMDOC, int(key)},
                                       {doc::NUMRAG, 1},
                                       {doc::DATADOC, date},
                                       {doc::MYDATA, date.toString(QStringLiteral("yyyyMMdd"))},
                                       {doc::TOTALE, total}});
}

// Acts on the payment window once it is shown.
template <typename Action> void onPayment(QObject *context, Action action) {
    QTimer::singleShot(0, context, [action] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<TFAcconto *>(w);
            if (dialog && dialog->isVisible()) {
                action(*dialog);
                if (dialog->isVisible())
                    dialog->reject();
                return;
            }
        }
        qWarning("no payment window shown");
    });
}

QString balance(TFArcRidiF &w) {
    return testing::child<QLabel>(w, "SaldoFornitore")->text().trimmed();
}

} // namespace

class TestTFArcRidiF : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aPaymentKeepsItsDateAndTakesANumberOnlyWhenSaved() {
        ShopFixture f;
        {
            TFAcconto w(*f.shop);
            w.PartnerName = QStringLiteral("ALFA");
            w.PartnerCode = QStringLiteral("1");
            w.show();
            QCOMPARE(testing::child<QCheckBox>(w, "Banca")->text(),
                     QStringLiteral("Prelievo dalla banca"));
            QCOMPARE(testing::child<QLineEdit>(w, "Descrizione")->text(),
                     QStringLiteral("Contanti"));
            auto *save = testing::button(w, "Salva");
            QVERIFY(!save->isEnabled()); // no amount yet
            testing::type(w, "Acconto", QStringLiteral("20,5"));
            QVERIFY(save->isEnabled());
            testing::type(w, "Descrizione", QStringLiteral("   "));
            QVERIFY(!save->isEnabled());
            testing::click(w, "Annulla");
            QVERIFY(!w.Saved);
        }
        QCOMPARE(f.column(QStringLiteral("ACCONTI"), QStringLiteral("NUMREG")).size(), 0);
        QCOMPARE(f.counter(QStringLiteral("ACCONTI")), 0);

        TFAcconto w(*f.shop);
        w.PartnerName = QStringLiteral("ALFA");
        w.PartnerCode = QStringLiteral("1");
        w.show();
        testing::type(w, "Data", QStringLiteral("5/3/24"));
        testing::type(w, "Acconto", QStringLiteral("20,5"));
        testing::click(w, "Salva");
        QVERIFY(w.Saved);
        QCOMPARE(w.PaymentKey, qint64(1));
        QCOMPARE(f.column(QStringLiteral("ACCONTI"), QStringLiteral("DATA")),
                 QStringList{"05/03/2024"});
        QCOMPARE(f.column(QStringLiteral("ACCONTI"), QStringLiteral("MYDATA")),
                 QStringList{"20240305"});
        QCOMPARE(f.column(QStringLiteral("ACCONTI"), QStringLiteral("ISCLIENTE")),
                 QStringList{"False"});
        QCOMPARE(f.column(QStringLiteral("ACCONTI"), QStringLiteral("ACCONTO")),
                 QStringList{"20.5"});
    }

    // The statement, a payment entered and deleted, a year changed and the
    // printout from a date after every movement.
    void statementPaymentsAndPrintout() {
        ShopFixture f; // 15 March 2026
        f.add(QStringLiteral("FORNITOR"),
              {{QStringLiteral("CODICE"), 1}, {QStringLiteral("NOME"), QStringLiteral("ALFA")}});
        f.add(QStringLiteral("FORNITOR"),
              {{QStringLiteral("CODICE"), 2}, {QStringLiteral("NOME"), QStringLiteral("BETA")}});
        addDocument(f, "CARICHI", 1, QDate(2025, 6, 1), 100);
        addDocument(f, "CARICHI", 2, QDate(2026, 2, 1), 50.25);
        addDocument(f, "RESI", 3, QDate(2026, 2, 10), 30);
        auto service = std::make_unique<RecordingPrintService>();
        RecordingPrintService &jobs = *service;
        f.shop->setPrintService(std::move(service));

        TFArcRidiF w(*f.shop);
        w.show();
        QCOMPARE(testing::child<QComboBox>(w, "Anno")->currentText(), QStringLiteral("2026"));
        QCOMPARE(w.supplierList().rowCount(), 2);
        QCOMPARE(w.statementList().rowCount(), 3); // "Dare Iniziale", receipt, return
        QCOMPARE(balance(w), QStringLiteral("120,25"));

        onPayment(&w, [](TFAcconto &p) {
            QCOMPARE(p.PaymentKey, qint64(0));
            testing::type(p, "Acconto", QStringLiteral("20"));
            testing::click(p, "Salva");
        });
        testing::click(w, "Nuovo");
        QCOMPARE(w.paymentList().rowCount(), 1);
        QCOMPARE(balance(w), QStringLiteral("100,25"));

        // An earlier year itemises more, owes the same.
        testing::child<QComboBox>(w, "Anno")->setCurrentIndex(0);
        QCOMPARE(w.statementList().rowCount(), 4);
        QCOMPARE(balance(w), QStringLiteral("100,25"));

        f.prompter.expectInput(QStringLiteral("STAMPA MOVIMENTI"), QStringLiteral("DATA INIZIO"),
                               QStringLiteral("01/01/2027"), QStringLiteral("01/03/2026"));
        testing::click(w, "Stampa");
        QCOMPARE(jobs.jobs().size(), 1);
        const RecordingCanvas &page = *jobs.jobs()[0].canvas;
        QVERIFY(page.findText(QStringLiteral("SITUAZIONE PRIMA DEL 01/01/2027")));
        QVERIFY(page.findText(QStringLiteral("SALDO AL 15/03/2026")));
        QVERIFY(page.findText(QStringLiteral("Fornitore: ALFA")));
        QCOMPARE(page.textsContaining(QStringLiteral("100,25")).size(), 2);

        f.prompter.expectConfirm(QStringLiteral("Eliminare l'acconto selezionato?"), false);
        testing::click(w, "Elimina");
        QCOMPARE(w.paymentList().rowCount(), 1);
        f.prompter.expectConfirm(QStringLiteral("Eliminare l'acconto selezionato?"), true);
        testing::click(w, "Elimina");
        QCOMPARE(w.paymentList().rowCount(), 0);
        QCOMPARE(balance(w), QStringLiteral("120,25"));

        // A supplier with nothing: its opening row at 0.
        testing::type(w, "Cerca", QStringLiteral("BE"));
        QCOMPARE(w.supplierList().rowCount(), 1);
        QCOMPARE(w.statementList().rowCount(), 1);
        QCOMPARE(balance(w), QStringLiteral("0,00"));
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestTFArcRidiF)
#include "tst_tfarcridif.moc"
