#include "common/RecordingOpener.h"
#include "common/ShopFixture.h"

#include "catalogue/TableGrid.h"
#include "common/Widgets.h"
#include "purchasing/TFFornitore.h"
#include "sales/TFClienti.h"
#include "shell/CommonRoutines.h"
#include "widgets/OpenerWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

using namespace corvale;

namespace {

using Opener = RecordingOpener;

void addCustomer(ShopFixture &f, qint64 code, const QString &name, const QString &card,
                 qint64 used = 0) {
    f.add(QStringLiteral("CLIENTI"), {{QStringLiteral("CODICE"), code},
                                      {QStringLiteral("NOME"), name},
                                      {QStringLiteral("BARCODE"), card},
                                      {QStringLiteral("DECPUNTI"), used},
                                      {QStringLiteral("CITTA"), name + QStringLiteral(" CITY")},
                                      {QStringLiteral("CAP"), 144}});
}

void addSale(ShopFixture &f, qint64 customer, double total) {
    f.add(QStringLiteral("VENDITE"),
          {{QStringLiteral("NUMCLI"), customer}, {QStringLiteral("TOTALE"), total}});
}

// The shop of most tests: a rate of one point per euro.
void fillShop(ShopFixture &f) {
    f.shop->texts().pointsPerEuro = 1;
    addCustomer(f, 1, QStringLiteral("ROSSI MARIO"), QStringLiteral("111"), 20);
    addCustomer(f, 2, QStringLiteral("ROSSI ANNA"), QStringLiteral("222"));
    addCustomer(f, 5000, QStringLiteral("BIANCHI"), QStringLiteral("111"));
    addCustomer(f, 7, QStringLiteral("D'ANGELO"), QStringLiteral("X'1"), 30);
    addSale(f, 1, 60.25);
    addSale(f, 1, 40.25);
    addSale(f, 5000, 12);
    f.add(QStringLiteral("FATTURE"),
          {{QStringLiteral("NUMRAG"), 7}, {QStringLiteral("TOTALE"), 10.7}});
    f.shop->routines().SetCounter(QStringLiteral("CLIENTI"), 7000);
}

// Each row as the grid shows it: name, card, used points, total, points.
QStringList rows(TFClienti &w) {
    QStringList out;
    TableModel &m = w.grid().model();
    for (int r = 0; r < m.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < m.columnCount(); ++c)
            cells << m.data(m.index(r, c)).toString();
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

QStringList names(TFClienti &w) {
    QStringList out;
    TableModel &m = w.grid().model();
    for (int r = 0; r < m.rowCount(); ++r)
        out << m.data(m.index(r, 0)).toString();
    return out;
}

QString detail(TFClienti &w, const char *name) {
    return testing::child<QLabel>(w, name)->text();
}

int rowOf(TFClienti &w, const QString &name) {
    return int(names(w).indexOf(name));
}

} // namespace

class TestClienti : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listsEveryCustomerWithBalance() {
        ShopFixture f;
        fillShop(f);
        TFClienti w(*f.shop);
        w.resize(900, 500);
        w.show();
        QCOMPARE(w.windowTitle(), QStringLiteral("Archivio Clienti"));
        TableModel &m = w.grid().model();
        QStringList titles;
        for (int c = 0; c < m.columnCount(); ++c)
            titles << m.headerData(c, Qt::Horizontal).toString();
        QCOMPARE(titles, (QStringList{QStringLiteral("Ragione Sociale"), QStringLiteral("BARCODE"),
                                      QStringLiteral("DECPUNTI"), QStringLiteral("csaldo"),
                                      QStringLiteral("cpunti")}));
        // A balance of nought shows as an empty cell ("#"). 100.50 bought with 20 used leaves 80; a
        // code past 4999 has its balance too; 10.7 earned with 30 used is -20.
        QCOMPARE(rows(w), (QStringList{QStringLiteral("BIANCHI|111|0|12,00|12"),
                                       QStringLiteral("D'ANGELO|X'1|30|10,70|-20"),
                                       QStringLiteral("ROSSI ANNA|222|0|0,00|"),
                                       QStringLiteral("ROSSI MARIO|111|20|100,50|80")}));
        QCOMPARE(detail(w, "Citta"), QStringLiteral("BIANCHI CITY"));
        QCOMPARE(detail(w, "CAP"), QStringLiteral("00144"));
        w.grid().selectRow(3);
        QCOMPARE(detail(w, "Citta"), QStringLiteral("ROSSI MARIO CITY"));

        // A sale stored meanwhile counts from the next opening.
        addSale(f, 2, 5.99);
        Opener opener;
        w.setOpener(&opener);
        testing::click(w, "Uscita");
        QVERIFY(!w.isVisible());
        QCOMPARE(opener.codes, QList<int>{1});
        w.show();
        QCOMPARE(rows(w)[2], QStringLiteral("ROSSI ANNA|222|0|5,99|5"));
        QVERIFY(f.prompter.done());
    }

    void searchesByNameAndCard() {
        ShopFixture f;
        fillShop(f);
        TFClienti w(*f.shop);
        w.show();
        auto *name = testing::child<QLineEdit>(w, "CercaNome");
        auto *card = testing::child<QLineEdit>(w, "CercaCarta");
        QCOMPARE(name->maxLength(), 30);
        QCOMPARE(card->maxLength(), 30);

        testing::type(w, "CercaNome", QStringLiteral("rossi"));
        QCOMPARE(name->text(), QStringLiteral("ROSSI"));
        QCOMPARE(names(w),
                 (QStringList{QStringLiteral("ROSSI ANNA"), QStringLiteral("ROSSI MARIO")}));
        testing::type(w, "CercaCarta", QStringLiteral("111"));
        QCOMPARE(names(w), QStringList{QStringLiteral("ROSSI MARIO")});
        QCOMPARE(detail(w, "Citta"), QStringLiteral("ROSSI MARIO CITY"));
        name->clear();
        QCOMPARE(names(w), (QStringList{QStringLiteral("BIANCHI"), QStringLiteral("ROSSI MARIO")}));

        // A quote in the card is part of the number, and cannot open the filter up.
        testing::type(w, "CercaCarta", QStringLiteral("X'1"));
        QCOMPARE(names(w), QStringList{QStringLiteral("D'ANGELO")});
        testing::type(w, "CercaCarta", QStringLiteral("' OR BARCODE <> '"));
        QVERIFY(names(w).isEmpty());
        QCOMPARE(detail(w, "Citta"), QString());
        // Nothing to edit, delete or spend from an empty list: nothing is asked.
        testing::click(w, "Modifica");
        testing::click(w, "Elimina");
        testing::click(w, "Scala punti");
        card->clear();
        QCOMPARE(names(w).size(), 4);

        // Opening the archive again empties both boxes.
        testing::type(w, "CercaNome", QStringLiteral("D'"));
        QCOMPARE(names(w), QStringList{QStringLiteral("D'ANGELO")});
        w.hide();
        w.show();
        QVERIFY(name->text().isEmpty());
        QCOMPARE(names(w).size(), 4);
        QVERIFY(f.prompter.done());
    }

    void spendingPoints() {
        ShopFixture f;
        fillShop(f);
        TFClienti w(*f.shop);
        w.show();
        w.grid().selectRow(rowOf(w, QStringLiteral("ROSSI MARIO")));
        auto spend = [&](std::optional<QString> reply) {
            f.prompter.expectInput(QStringLiteral("Scala Punti"), QStringLiteral("Quantità"), reply,
                                   QString());
            testing::click(w, "Scala punti");
            return rows(w)[rowOf(w, QStringLiteral("ROSSI MARIO"))];
        };
        QCOMPARE(spend(QStringLiteral("30")), QStringLiteral("ROSSI MARIO|111|50|100,50|50"));
        // A negative number gives points back; nothing keeps the balance positive.
        QCOMPARE(spend(QStringLiteral("-10")), QStringLiteral("ROSSI MARIO|111|40|100,50|60"));
        QCOMPARE(spend(QStringLiteral("100")), QStringLiteral("ROSSI MARIO|111|140|100,50|-40"));
        // Text that is not a whole number, and a cancelled box, change nothing, silently.
        for (const char *ignored : {"abc", "2,5", ""})
            QCOMPARE(spend(QString::fromLatin1(ignored)),
                     QStringLiteral("ROSSI MARIO|111|140|100,50|-40"));
        QCOMPARE(spend(std::nullopt), QStringLiteral("ROSSI MARIO|111|140|100,50|-40"));
        // The other customers keep their points.
        QCOMPARE(rows(w)[rowOf(w, QStringLiteral("ROSSI ANNA"))],
                 QStringLiteral("ROSSI ANNA|222|0|0,00|"));
        QVERIFY(f.prompter.done());

        // A number the column cannot hold is refused in the engine's words.
        f.prompter.expectInput(QStringLiteral("Scala Punti"), QStringLiteral("Quantità"),
                               QStringLiteral("99999999999"), QString());
        f.prompter.expectError({});
        testing::click(w, "Scala punti");
        QVERIFY(f.prompter.done());
        QCOMPARE(rows(w)[rowOf(w, QStringLiteral("ROSSI MARIO"))],
                 QStringLiteral("ROSSI MARIO|111|140|100,50|-40"));
    }

    void deletingAsks() {
        ShopFixture f;
        fillShop(f);
        TFClienti w(*f.shop);
        w.show();
        const QString question = QStringLiteral("Eliminare il Cliente selezionato?");
        w.grid().selectRow(rowOf(w, QStringLiteral("ROSSI MARIO")));
        f.prompter.expectConfirm(question, false);
        testing::click(w, "Elimina");
        QCOMPARE(names(w).size(), 4);
        f.prompter.expectConfirm(question, true);
        testing::click(w, "Elimina");
        QCOMPARE(names(w), (QStringList{QStringLiteral("BIANCHI"), QStringLiteral("D'ANGELO"),
                                        QStringLiteral("ROSSI ANNA")}));
        // The customer's sales keep their code.
        QCOMPARE(f.column(QStringLiteral("VENDITE"), QStringLiteral("NUMCLI")),
                 (QStringList{QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("5000")}));
        QVERIFY(f.prompter.done());
    }

    void newAndEditThroughTheCustomerCard() {
        ShopFixture f;
        fillShop(f);
        TFClienti w(*f.shop);
        w.show();
        QTimer::singleShot(0, &w, [&] {
            TFFornitore &card = w.card();
            QVERIFY(card.isVisible());
            QVERIFY(card.CustomerMode);
            QCOMPARE(card.windowTitle(), QStringLiteral("Nuovo Cliente"));
            testing::child<QLineEdit>(card, "RagSociale")->setText(QStringLiteral("CARLI"));
            testing::child<QLineEdit>(card, "NCarta")->setText(QStringLiteral("333"));
            card.BSalvaClick();
        });
        testing::click(w, "Nuovo");
        QCOMPARE(names(w).size(), 5);
        QCOMPARE(rows(w)[w.grid().currentIndex().row()], QStringLiteral("CARLI|333||0,00|"));

        // A double click edits the selected customer.
        const int row = rowOf(w, QStringLiteral("ROSSI ANNA"));
        w.grid().selectRow(row);
        QTimer::singleShot(0, &w, [&] {
            TFFornitore &card = w.card();
            QCOMPARE(card.windowTitle(), QStringLiteral("Modifica Cliente"));
            QCOMPARE(card.RecordCode, 2);
            testing::child<QLineEdit>(card, "NCarta")->setText(QStringLiteral("444"));
            card.BSalvaClick();
        });
        Q_EMIT w.grid().doubleClicked(w.grid().model().index(row, 0));
        QCOMPARE(rows(w)[w.grid().currentIndex().row()], QStringLiteral("ROSSI ANNA|444|0|0,00|"));
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestClienti)
#include "tst_clienti.moc"
