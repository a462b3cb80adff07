#include "ChartData.h"
#include "common/Widgets.h"

#include "catalogue/TFArcArt.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "printing/PrintService.h"
#include "program/Program.h"
#include "sales/TFArcVen.h"
#include "shell/TFMain.h"
#include "statistics/TFGrafico.h"
#include "statistics/TFIstogramma.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

using namespace corvale;
using namespace chartdata;
using testing::child;
using testing::click;

namespace {

QString text(const QWidget &w, const char *name) {
    return child<QLineEdit>(w, name)->text();
}

} // namespace

// The chart windows through their controls, and how the program opens them.
class TestChartWindows : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void takingsWindow() {
        ShopFixture f; // today: 15 March 2026
        auto *service = new RecordingPrintService;
        f.shop->setPrintService(std::unique_ptr<PrintService>(service));
        sale(f, QDate(2026, 3, 2), 100);
        sale(f, QDate(2026, 3, 15), -30);
        sale(f, QDate(2026, 5, 10), 250);
        sale(f, QDate(2025, 3, 1), 70);

        TFIstogramma w(*f.shop);
        w.setSubtitle(QStringLiteral("VENDITE AL BANCO"));
        QCOMPARE(w.size(), QSize(800, 600));
        QCOMPARE(w.windowTitle(), QStringLiteral("Grafico di Vendita"));
        w.show();
        auto *year = child<QComboBox>(w, "Anno");
        auto *month = child<QComboBox>(w, "Mese");
        QCOMPARE(year->count(), 3);
        QCOMPARE(year->itemText(0), QStringLiteral("2026"));
        QCOMPARE(year->itemText(2), QStringLiteral("2024"));
        QCOMPARE(year->currentText(), QStringLiteral("2026"));
        QVERIFY(child<QRadioButton>(w, "Annuale")->isChecked());
        QVERIFY(!month->isVisible());
        // The refund lowers the total but draws nothing.
        QCOMPARE(text(w, "Totale"), QStringLiteral("    320,00"));
        QCOMPARE(w.chart().size(), QSize(592, 490));
        QCOMPARE(w.chart().pixelColor(245, 100), QColor(128, 0, 0)); // May reaches the top
        QVERIFY(!child<QLabel>(w, "Grafico")->pixmap().isNull());

        child<QRadioButton>(w, "Mensile")->click();
        QVERIFY(month->isVisible());
        QCOMPARE(month->currentText(), QStringLiteral("Marzo"));
        QCOMPARE(int(w.takings().values.size()), 31);
        QCOMPARE(w.chart().width(), 596);
        QCOMPARE(text(w, "Totale"), QStringLiteral("     70,00"));

        year->setCurrentIndex(1);
        QCOMPARE(w.period().year, 2025);
        QCOMPARE(text(w, "Totale"), QStringLiteral("     70,00"));
        month->setCurrentIndex(1);
        QCOMPARE(text(w, "Totale"), QStringLiteral("      0,00"));
        month->setCurrentIndex(2);

        click(w, "Stampa");
        QCOMPARE(service->jobs().size(), 1);
        const RecordingCanvas &page = *service->jobs()[0].canvas;
        QVERIFY(page.findText(QStringLiteral("Totale Venduto € 70,00 - Anno 2025")));
        QCOMPARE(page.items().first().kind, CanvasItem::Kind::Picture);
        QCOMPARE(page.items().first().pictureSize, QSize(596, 490));

        click(w, "Uscita");
        QVERIFY(!w.isVisible());
        // Every opening starts again from the year's months.
        w.show();
        QVERIFY(child<QRadioButton>(w, "Annuale")->isChecked());
        QCOMPARE(year->currentText(), QStringLiteral("2026"));
        QCOMPARE(text(w, "Totale"), QStringLiteral("    320,00"));
        click(w, "Uscita");
        QVERIFY(f.prompter.done());
    }

    void takingsWindowReportsAMissingTable() {
        ShopFixture f;
        f.db().close();
        const QDir data(f.shop->folder().dataPath());
        for (const QString &file : data.entryList({QStringLiteral("VENDITE.*")}))
            QVERIFY(QFile::remove(data.filePath(file)));
        f.shop->openDatabase();
        f.prompter.expectError({});
        TFIstogramma w(*f.shop);
        w.show();
        QVERIFY(f.prompter.done());
        // No figures of another period stand in for the ones that could not be read.
        QVERIFY(w.chart().isNull());
        QCOMPARE(text(w, "Totale"), QString());
        click(w, "Stampa"); // nothing to print, nothing asked
        QVERIFY(f.prompter.done());
        click(w, "Uscita");
    }

    void articleWindow() {
        ShopFixture f;
        article(f, 1, QStringLiteral("GIACCA"));
        article(f, 2, QStringLiteral("ABITO"));
        line(f, 2, QDate(2026, 3, 4), 2);
        line(f, 1, QDate(2026, 1, 10), 5);
        line(f, 1, QDate(2026, 2, 11), 3);
        line(f, 1, QDate(2025, 3, 11), 30);

        TFGrafico w(*f.shop);
        w.show();
        // The list starts at its first article in description order.
        QCOMPARE(text(w, "Codice"), QStringLiteral("800002"));
        QCOMPARE(child<QLabel>(w, "Articolo")->text(), QStringLiteral("ABITO"));
        QCOMPARE(w.sales().values[2], 2);
        QCOMPARE(w.chart().size(), QSize(512, 470));
        QCOMPARE(w.chart().pixelColor(148, 352), QColor(255, 0, 0));
        auto *month = child<QComboBox>(w, "Mese");
        QVERIFY(!month->isEnabled());
        QVERIFY(w.articleList().isEnabled());

        w.articleList().selectRow(1);
        QCOMPARE(text(w, "Codice"), QStringLiteral("800001"));
        QCOMPARE(w.sales().values[0], 5);
        QCOMPARE(w.sales().values[1], 3);
        QCOMPARE(w.sales().maximum, 5);

        child<QRadioButton>(w, "Mensile")->click();
        QVERIFY(month->isEnabled());
        QCOMPARE(month->currentText(), QStringLiteral("Marzo"));
        QCOMPARE(int(w.sales().values.size()), 31);
        QCOMPARE(w.sales().maximum, 0);
        QCOMPARE(w.chart().width(), 514);
        month->setCurrentIndex(0);
        QCOMPARE(w.sales().values[9], 5);

        click(w, "Uscita");
        QVERIFY(!w.isVisible());
        // At the next opening: the first article again, the year's months.
        w.show();
        QCOMPARE(text(w, "Codice"), QStringLiteral("800002"));
        QVERIFY(child<QRadioButton>(w, "Annuale")->isChecked());
        QVERIFY(!month->isEnabled());
        click(w, "Uscita");
        QVERIFY(f.prompter.done());
    }

    void articleWindowWithoutArticles() {
        ShopFixture f;
        TFGrafico w(*f.shop);
        w.show();
        QCOMPARE(text(w, "Codice"), QString());
        QCOMPARE(w.sales().maximum, 0);
        QCOMPARE(w.chart().size(), QSize(512, 470));
        click(w, "Uscita");
        QVERIFY(f.prompter.done());
    }

    void articleArchiveOpensTheArticleChart() {
        ShopFixture f;
        article(f, 1, QStringLiteral("GIACCA"));
        line(f, 1, QDate(2026, 2, 1), 4);
        Program program(*f.shop);
        QVERIFY(program.ready());
        program.mainWindow().resize(1100, 700);
        program.mainWindow().show();
        program.mainWindow().showInPanel(&program.articles());
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *chart = qobject_cast<TFGrafico *>(QApplication::activeModalWidget());
            QVERIFY(chart);
            seen = true;
            QCOMPARE(chart->sales().values[1], 4);
            click(*chart, "Uscita");
        });
        click(program.articles(), "Grafico");
        QVERIFY(seen);
        QVERIFY(f.prompter.done());
    }

    void salesArchiveOpensTheTakingsChart() {
        ShopFixture f;
        sale(f, QDate(2026, 3, 2), 100);
        Program program(*f.shop);
        QVERIFY(program.ready());
        program.mainWindow().resize(1100, 700);
        program.mainWindow().show();
        program.mainWindow().showInPanel(&program.sales());
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *chart = qobject_cast<TFIstogramma *>(QApplication::activeModalWidget());
            QVERIFY(chart);
            seen = true;
            QCOMPARE(chart->subtitle(), QStringLiteral("VENDITE AL BANCO"));
            QCOMPARE(chart->takings().total, 100.0);
            click(*chart, "Uscita");
        });
        click(program.sales(), "Grafico");
        QVERIFY(seen);
        QVERIFY(f.prompter.done());
    }
};

QTEST_MAIN(TestChartWindows)
#include "tst_chartwindows.moc"
