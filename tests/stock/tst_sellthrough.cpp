// "Venduto per stagione": the figures of a season by group, worked out by
// hand, its export and its window.

#include "common/ShopFixture.h"
#include "common/Widgets.h"
#include "printing/PrintService.h"
#include "stock/SellThrough.h"
#include "stock/TFVenduto.h"

#include <QComboBox>
#include <QTableWidget>
#include <QTest>

using namespace corvale;

namespace {

void article(ShopFixture &f, int key, const char *brand, const char *season, int year, double list,
             double purchase) {
    f.add(QStringLiteral("ARTICOLI"), {{"NUMREG", key},
                                       {"BARCODE", QString::number(800000 + key)},
                                       {"DESCRIZION", "ART"},
                                       {"MARCHIO", brand},
                                       {"CATEGORIA", "GIACCHE"},
                                       {"STAGIONE", season},
                                       {"ANNO", year},
                                       {"PREZZOVND", list},
                                       {"PREZZOACQ", purchase},
                                       {"IVA", 22.0},
                                       {"INUSO", true}});
}

void line(ShopFixture &f, const char *table, int article, int quantity, double amount,
          bool countsUp = true) {
    QVariantMap v{{"NUMART", article},
                  {"QUANTITA", quantity},
                  {"IMPORTO", amount},
                  {"DATAREG", QDate(2026, 1, 10)}};
    if (QByteArray(table) == "ARCART_V")
        v.insert("TIPO", countsUp);
    f.add(QString::fromLatin1(table), v);
}

// Two brands of "Autunno/Inverno" 2026 and an article of another season.
void season(ShopFixture &f) {
    article(f, 1, "ALFA", "Autunno/Inverno", 2026, 100, 40);
    article(f, 2, "ALFA", "Autunno/Inverno", 2026, 50, 20);
    article(f, 3, "BETA", "Autunno/Inverno", 2026, 80, 30);
    article(f, 4, "ALFA", "Primavera/Estate", 2026, 60, 25);
    article(f, 5, "ALFA", "Autunno/Inverno", 2025, 60, 25);
    line(f, "ARCART_A", 1, 10, 400);
    line(f, "ARCART_A", 2, 5, 100);
    line(f, "ARCART_A", 3, 4, 120);
    line(f, "ARCART_A", 4, 7, 175);
    line(f, "ARCART_A", 5, 2, 50);
    line(f, "ARCART_R", 1, 1, 40);
    line(f, "ARCART_V", 1, 4, 280);       // 30 % off
    line(f, "ARCART_V", 1, 1, 70, false); // one given back
    line(f, "ARCART_V", 2, 2, 100);
    line(f, "ARCART_V", 4, 3, 180);
    line(f, "ARCART_V", 5, 1, 60);
    f.add(QStringLiteral("ARCARTTG"),
          {{"ARTCODE", 1}, {"COLORE", "ROSSO"}, {"TG1", 3}, {"TG2", 3}});
    f.add(QStringLiteral("ARCARTTG"), {{"ARTCODE", 2}, {"COLORE", "BLU"}, {"TG3", 3}});
    f.add(QStringLiteral("ARCARTTG"), {{"ARTCODE", 3}, {"COLORE", "BLU"}, {"TG3", 4}});
}

} // namespace

class TestSellThrough : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void figuresOfASeason() {
        ShopFixture f;
        season(f);
        const QList<SellThrough::Row> rows = SellThrough::compute(
            f.db(), {QStringLiteral("autunno/inverno"), 2026, SellThrough::Grouping::Brand});
        QCOMPARE(rows.size(), 2);
        const SellThrough::Row &alfa = rows[0];
        QCOMPARE(alfa.group, QStringLiteral("ALFA"));
        QCOMPARE(alfa.received, 15);
        QCOMPARE(alfa.returned, 1);
        QCOMPARE(alfa.sold, 5);
        QCOMPARE(alfa.inStock, 9);
        // 5 sold of 14 kept; 310 taken for 400 of list price; 310 without
        // 22 % VAT less 3 × 40 + 2 × 20.
        QCOMPARE(SellThrough::texts(alfa),
                 (QStringList{"ALFA", "15", "5", "1", "9", "35,7", "22,5", "94,10"}));
        QCOMPARE(SellThrough::texts(rows[1]),
                 (QStringList{"BETA", "4", "0", "0", "4", "0,0", "", "0,00"}));
        QCOMPARE(SellThrough::texts(SellThrough::total(rows)),
                 (QStringList{"TOTALE", "19", "5", "1", "13", "27,8", "22,5", "94,10"}));

        // Every year of the season: the 2025 article joins ALFA.
        const QList<SellThrough::Row> all = SellThrough::compute(
            f.db(), {QStringLiteral("Autunno/Inverno"), 0, SellThrough::Grouping::Category});
        QCOMPARE(all.size(), 1);
        QCOMPARE(all[0].group, QStringLiteral("GIACCHE"));
        QCOMPARE(all[0].received, 21);
        QCOMPARE(all[0].sold, 6);

        const QStringList lines = SellThrough::exportLines(
            QDate(2026, 3, 15),
            {QStringLiteral("Autunno/Inverno"), 2026, SellThrough::Grouping::Brand}, rows);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines[2], QStringLiteral("Marchio\tRicevuti\tVenduti\tResi\tGiacenza\tVenduto "
                                          "%\tSconto medio %\tMargine\t"));
        QCOMPARE(lines[3], QStringLiteral("ALFA\t15\t5\t1\t9\t35,7\t22,5\t94,10\t"));
        QCOMPARE(lines[5], QStringLiteral("TOTALE\t19\t5\t1\t13\t27,8\t22,5\t94,10\t"));
    }

    void windowShowsPrintsAndExports() {
        ShopFixture f;
        season(f);
        TFVenduto w(*f.shop);
        w.show();
        auto *seasons = testing::child<QComboBox>(w, "Stagione");
        seasons->setCurrentIndex(seasons->findText(QStringLiteral("Autunno/Inverno")));
        testing::click(w, "Calcola");
        auto *grid = testing::child<QTableWidget>(w, "Griglia");
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("TOTALE"));
        QCOMPARE(grid->item(0, 5)->text(), QStringLiteral("35,7"));
        testing::click(w, "Stampa");
        const QString out = QDir(f.shop->folder().root()).filePath(QStringLiteral("v.xls"));
        f.prompter.expectSaveFile(out).expectInformation(
            QStringLiteral("Esportazione dati eseguita con successo."));
        testing::click(w, "Esporta");
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("ALFA\t15\t5\t1\t9\t35,7\t22,5\t94,10\t"));
    }
};

QTEST_MAIN(TestSellThrough)
#include "tst_sellthrough.moc"
