#include "printing/RecordingCanvas.h"
#include "stock/ReportTablePrintout.h"
#include "stock/SellThroughPrintout.h"
#include "stock/StockLevelsPrintout.h"

#include <QTest>

#include <memory>

using namespace corvale;

namespace {

// Each stock printout drawn once, with texts the cases look for.
std::shared_ptr<RecordingCanvas> drawn(const QString &printout) {
    auto c = std::make_shared<RecordingCanvas>();
    if (printout == QLatin1String("table")) {
        ReportTablePrintout::Document d;
        d.nameLine1 = QStringLiteral("NEGOZIO");
        d.nameLine2 = QStringLiteral("VIA ROMA");
        d.title = QStringLiteral("TITOLO");
        d.columns = {{QStringLiteral("Articolo"), 3, false}, {QStringLiteral("Pezzi"), 1, true}};
        d.rows = {{QStringLiteral("RIGA"), QStringLiteral("5")}};
        d.closing = {QStringLiteral("TOTALI"), QStringLiteral("5")};
        ReportTablePrintout::draw(*c, d);
    } else if (printout == QLatin1String("levels")) {
        StockLevels::Row r;
        r.description = QStringLiteral("RIGA");
        r.cells[0] = 3;
        const QList<StockLevels::Row> rows{r};
        StockLevelsPrintout::draw(*c,
                                  {QStringLiteral("NEGOZIO"),
                                   QStringLiteral("VIA ROMA"),
                                   QDate(2026, 3, 15),
                                   QStringLiteral("SCARPE"),
                                   {}},
                                  rows, StockLevels::totals(rows));
    } else {
        SellThrough::Row r;
        r.group = QStringLiteral("RIGA");
        SellThroughPrintout::draw(*c, QStringLiteral("NEGOZIO"), QStringLiteral("TITOLO"),
                                  SellThrough::Grouping::Brand, {r});
    }
    return c;
}

} // namespace

class TestStockPrintFonts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fontOfEachPart_data() {
        QTest::addColumn<QString>("printout");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("size");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("italic");
        const QString arial = QStringLiteral("Arial");
        const QString sans = QStringLiteral("MS Sans Serif");
        QTest::newRow("table: shop name") << "table"
                                          << "NEGOZIO" << arial << 12.0 << true << true;
        QTest::newRow("table: second line") << "table"
                                            << "VIA ROMA" << arial << 10.0 << true << true;
        QTest::newRow("table: title") << "table"
                                      << "TITOLO" << arial << 10.0 << true << true;
        QTest::newRow("table: column title") << "table"
                                             << "Pezzi" << arial << 9.0 << true << false;
        QTest::newRow("table: row") << "table"
                                    << "RIGA" << arial << 9.0 << false << false;
        QTest::newRow("table: closing") << "table"
                                        << "TOTALI" << arial << 9.0 << true << false;
        QTest::newRow("levels: shop name") << "levels"
                                           << "NEGOZIO" << sans << 12.0 << true << true;
        QTest::newRow("levels: title")
            << "levels"
            << "ELENCO GIACENZE - 15/03/2026 - SCARPE" << sans << 10.0 << true << true;
        QTest::newRow("levels: column title") << "levels"
                                              << "Articolo" << arial << 10.0 << true << false;
        QTest::newRow("levels: row") << "levels"
                                     << "RIGA" << arial << 9.0 << false << false;
        QTest::newRow("levels: totals") << "levels"
                                        << "TOTALI" << arial << 9.0 << true << false;
        QTest::newRow("sell-through: shop name") << "sell"
                                                 << "NEGOZIO" << arial << 12.0 << true << false;
        QTest::newRow("sell-through: title") << "sell"
                                             << "TITOLO" << arial << 10.0 << true << false;
        QTest::newRow("sell-through: column title") << "sell"
                                                    << "Ricevuti" << arial << 8.0 << true << false;
        QTest::newRow("sell-through: row") << "sell"
                                           << "RIGA" << arial << 9.0 << false << false;
        QTest::newRow("sell-through: total") << "sell"
                                             << "TOTALE" << arial << 9.0 << true << false;
    }
    void fontOfEachPart() {
        QFETCH(QString, printout);
        QFETCH(QString, text);
        QFETCH(QString, face);
        QFETCH(double, size);
        QFETCH(bool, bold);
        QFETCH(bool, italic);
        const auto canvas = drawn(printout);
        const CanvasItem *item = canvas->findText(text);
        QVERIFY2(item, qPrintable(text));
        QCOMPARE(item->font.name, face);
        QCOMPARE(item->font.size, size);
        QCOMPARE(item->font.bold, bold);
        QCOMPARE(item->font.italic, italic);
    }
};

QTEST_MAIN(TestStockPrintFonts)
#include "tst_stockprintfonts.moc"
