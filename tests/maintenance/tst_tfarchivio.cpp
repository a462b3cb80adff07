#include "common/ShopFixture.h"
#include "common/Widgets.h"

#include "maintenance/ArchiveButtonLayout.h"
#include "maintenance/TFArchivio.h"

#include <QProgressBar>

using namespace corvale;
using testing::button;
using testing::click;

class TestTFArchivio : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buttonLayout() {
        // A work area of 800 × 500.
        const QList<QRect> places = ArchiveButtonLayout::place(800, 500);
        QCOMPARE(places.size(), 9);
        const int columns[3] = {29, 286, 543};
        const int rows[3] = {116, 207, 298};
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(places[i].size(), QSize(228, 67));
            QCOMPARE(places[i].topLeft(), QPoint(columns[i % 3], rows[i / 3]));
        }
        QCOMPARE(ArchiveButtonLayout::fontPoints(900), 10);
        QCOMPARE(ArchiveButtonLayout::fontPoints(901), 12);

        ShopFixture f;
        TFArchivio w(*f.shop);
        w.LayoutButtons(800, 500);
        const char *order[9] = {"ARTICOLI",  "FATTURE", "ACQUISTI",
                                "FORNITORI", "VENDITE", "RESI FORNITORE",
                                "CLIENTI",   "TAGLIE",  "ORDINI FORNITORE"};
        for (int i = 0; i < 9; ++i) {
            QPushButton *b = button(w, order[i]);
            QCOMPARE(b->geometry(), places[i]);
            QCOMPARE(b->font().pointSize(), 10);
            QVERIFY(b->font().bold());
        }
        w.LayoutButtons(1024, 700);
        QCOMPARE(button(w, "TAGLIE")->font().pointSize(), 12);
        QCOMPARE(button(w, "TAGLIE")->geometry(), ArchiveButtonLayout::place(1024, 700)[7]);
    }

    void toolBarAndButtons() {
        ShopFixture f;
        TFArchivio w(*f.shop);
        w.resize(800, 500);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(!testing::child<QProgressBar>(w, "Gauge")->isVisible());
        QCOMPARE(button(w, "Salva")->toolTip(),
                 QStringLiteral("Esegue il Salvataggio dell'Archivio"));
        // The window follows its work area.
        QCOMPARE(button(w, "ARTICOLI")->geometry(), ArchiveButtonLayout::place(800, 500)[0]);

        // Nothing handed in yet: every button says so.
        for (const char *name :
             {"Salva", "Carica", "Verifica", "Varie", "ARTICOLI", "FATTURE", "ACQUISTI",
              "FORNITORI", "VENDITE", "RESI FORNITORE", "CLIENTI", "TAGLIE", "ORDINI FORNITORE"}) {
            QVERIFY2(button(w, name)->isVisible(), name);
            f.prompter.expectInformation(QStringLiteral("Funzione non ancora disponibile"));
            click(w, name);
        }
        QVERIFY(f.prompter.done());

        QStringList opened;
        w.setArchiveAction(TFArchivio::Archive::Orders,
                           [&] { opened << QStringLiteral("orders"); });
        w.setToolAction(TFArchivio::Tool::Lists, [&] { opened << QStringLiteral("lists"); });
        click(w, "ORDINI FORNITORE");
        click(w, "Varie");
        QCOMPARE(opened, (QStringList{QStringLiteral("orders"), QStringLiteral("lists")}));
        click(w, "Uscita");
        QVERIFY(!w.isVisible());
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestTFArchivio)
#include "tst_tfarchivio.moc"
