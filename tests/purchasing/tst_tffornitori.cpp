#include "common/RecordingOpener.h"
#include "common/ShopFixture.h"

#include "catalogue/TableGrid.h"
#include "common/Widgets.h"
#include "purchasing/TFFornitore.h"
#include "purchasing/TFFornitori.h"
#include "shell/CommonRoutines.h"
#include "widgets/OpenerWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace corvale;

namespace {

using Opener = RecordingOpener;

} // namespace

class TestTFFornitori : public QObject {
    Q_OBJECT
private:
    static QStringList listed(TFFornitori &w) {
        QStringList out;
        TableModel &m = w.grid().model();
        for (int r = 0; r < m.rowCount(); ++r)
            out << m.data(m.index(r, 0)).toString();
        return out;
    }
    static QString detail(TFFornitori &w, const char *name) {
        return w.findChild<QLabel *>(QString::fromLatin1(name))->text();
    }
    static void click(QWidget &w, const char *name) { testing::click(w, name); }
    static void addSuppliers(ShopFixture &f) {
        int code = 1;
        for (const char *name : {"BETA", "ALFA", "ALBERTO", "AL", "ZETA"})
            f.add(QStringLiteral("FORNITOR"), {{QStringLiteral("CODICE"), code++},
                                               {QStringLiteral("NOME"), QString::fromLatin1(name)},
                                               {QStringLiteral("CAP"), 144},
                                               {QStringLiteral("PIVACF"), QStringLiteral("IT1")}});
        f.shop->routines().SetCounter(QStringLiteral("CLIENTI"), code - 1);
    }

private Q_SLOTS:
    void searchAndDetails() {
        ShopFixture f;
        addSuppliers(f);
        TFFornitori w(*f.shop);
        w.resize(800, 500);
        w.show();
        QCOMPARE(listed(w), (QStringList{QStringLiteral("AL"), QStringLiteral("ALBERTO"),
                                         QStringLiteral("ALFA"), QStringLiteral("BETA"),
                                         QStringLiteral("ZETA")}));
        QCOMPARE(detail(w, "CAP"), QStringLiteral("00144"));
        QCOMPARE(detail(w, "PIva"), QStringLiteral("IT1"));
        auto *search = w.findChild<QLineEdit *>(QStringLiteral("Cerca"));
        QCOMPARE(search->maxLength(), 30);
        QTest::keyClicks(search, QStringLiteral("ALF"));
        QCOMPARE(listed(w), QStringList{QStringLiteral("ALFA")});
        search->setText(QStringLiteral("AL"));
        QCOMPARE(listed(w), (QStringList{QStringLiteral("AL"), QStringLiteral("ALBERTO"),
                                         QStringLiteral("ALFA")}));
        search->setText(QStringLiteral("Q"));
        QVERIFY(listed(w).isEmpty());
        QCOMPARE(detail(w, "CAP"), QString());
        search->clear();
        QCOMPARE(listed(w).size(), 5);

        // Choosing a row shows its supplier.
        w.grid().selectRow(3);
        QCOMPARE(w.grid().model().data(w.grid().model().index(3, 0)).toString(),
                 QStringLiteral("BETA"));

        // Showing the window again starts over with an empty search box.
        search->setText(QStringLiteral("ZE"));
        Opener opener;
        w.setOpener(&opener);
        click(w, "Uscita");
        QVERIFY(!w.isVisible());
        QCOMPARE(opener.codes, QList<int>{1});
        w.show();
        QVERIFY(search->text().isEmpty());
        QCOMPARE(listed(w).size(), 5);
    }

    void newAndEditThroughTheCard() {
        ShopFixture f;
        addSuppliers(f);
        TFFornitori w(*f.shop);
        w.show();
        QTimer::singleShot(0, &w, [&] {
            TFFornitore &card = w.card();
            QVERIFY(card.isVisible());
            QCOMPARE(card.windowTitle(), QStringLiteral("Nuovo Fornitore"));
            card.findChild<QLineEdit *>(QStringLiteral("RagSociale"))
                ->setText(QStringLiteral("DELTA"));
            card.BSalvaClick();
        });
        click(w, "Nuovo");
        QCOMPARE(listed(w).size(), 6);
        QCOMPARE(listed(w)[w.grid().currentIndex().row()], QStringLiteral("DELTA"));

        // Double click edits the selected supplier.
        w.grid().selectRow(1); // ALBERTO
        QTimer::singleShot(0, &w, [&] {
            TFFornitore &card = w.card();
            QCOMPARE(card.windowTitle(), QStringLiteral("Modifica Fornitore"));
            QCOMPARE(card.OldName, QStringLiteral("ALBERTO"));
            card.findChild<QLineEdit *>(QStringLiteral("Telefono"))->setText(QStringLiteral("333"));
            card.BSalvaClick();
        });
        Q_EMIT w.grid().doubleClicked(w.grid().model().index(1, 0));
        QCOMPARE(detail(w, "Telefono"), QStringLiteral("333"));
        QCOMPARE(listed(w)[w.grid().currentIndex().row()], QStringLiteral("ALBERTO"));

        // A cancelled card changes nothing.
        QTimer::singleShot(0, &w, [&] { w.card().BAnnullaClick(); });
        click(w, "Nuovo");
        QCOMPARE(listed(w).size(), 6);
        QVERIFY(f.prompter.done());
    }

    void deletingAsksOnceOrTwice() {
        ShopFixture f;
        addSuppliers(f);
        // ALFA (code 2) supplies an article.
        f.add(QStringLiteral("ARTICOLI"), {{QStringLiteral("NUMREG"), 1},
                                           {QStringLiteral("N_FOR"), 2},
                                           {QStringLiteral("FORNITORE"), QStringLiteral("ALFA")}});
        TFFornitori w(*f.shop);
        w.show();
        const QString first = QStringLiteral("Eliminare il Fornitore selezionato?");
        const QString second = QStringLiteral(
            "Il fornitore è legato ad articoli presenti in archivio!\rEliminare comunque?");

        w.grid().selectRow(0); // AL: no article
        f.prompter.expectConfirm(first, false);
        click(w, "Elimina");
        QCOMPARE(listed(w).size(), 5);
        f.prompter.expectConfirm(first, true);
        click(w, "Elimina");
        QVERIFY(!listed(w).contains(QStringLiteral("AL")));

        w.grid().selectRow(1); // ALFA
        f.prompter.expectConfirm(first, true).expectConfirm(second, false);
        click(w, "Elimina");
        QVERIFY(listed(w).contains(QStringLiteral("ALFA")));
        f.prompter.expectConfirm(first, true).expectConfirm(second, true);
        click(w, "Elimina");
        QCOMPARE(listed(w), (QStringList{QStringLiteral("ALBERTO"), QStringLiteral("BETA"),
                                         QStringLiteral("ZETA")}));
        // The article keeps its copy.
        QCOMPARE(f.column(QStringLiteral("ARTICOLI"), QStringLiteral("FORNITORE")),
                 QStringList{QStringLiteral("ALFA")});

        // With an empty list nothing is asked.
        w.findChild<QLineEdit *>(QStringLiteral("Cerca"))->setText(QStringLiteral("Q"));
        click(w, "Elimina");
        click(w, "Modifica");
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestTFFornitori)
#include "tst_tffornitori.moc"
