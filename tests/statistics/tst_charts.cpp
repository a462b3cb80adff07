#include "ChartData.h"

#include "printing/QPainterCanvas.h"
#include "printing/RecordingCanvas.h"
#include "statistics/ArticleChart.h"
#include "statistics/ArticleValues.h"
#include "statistics/ChartScale.h"
#include "statistics/TakingsChart.h"
#include "statistics/TakingsPrintout.h"
#include "statistics/TakingsValues.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

using namespace corvale;
using namespace chartdata;

namespace {

const QColor white(255, 255, 255);
const QColor red(255, 0, 0);

ChartPeriod yearOf(int year) {
    return {ChartMode::Yearly, year, 1};
}
ChartPeriod monthOf(int year, int month) {
    return {ChartMode::Monthly, year, month};
}

// The texts drawn, in drawing order.
QStringList texts(const RecordingCanvas &canvas) {
    QStringList out;
    for (const CanvasItem &i : canvas.items())
        if (i.kind == CanvasItem::Kind::Text)
            out << i.text;
    return out;
}

QList<CanvasItem> itemsOf(const RecordingCanvas &canvas, CanvasItem::Kind kind) {
    QList<CanvasItem> out;
    for (const CanvasItem &i : canvas.items())
        if (i.kind == kind)
            out << i;
    return out;
}

// The bars: every rectangle but the frame around the whole area.
QList<CanvasItem> bars(const RecordingCanvas &canvas) {
    QList<CanvasItem> out = itemsOf(canvas, CanvasItem::Kind::Rectangle);
    if (!out.isEmpty())
        out.removeFirst();
    return out;
}

RecordingCanvas recordTakings(const Takings &takings, const ChartPeriod &period) {
    const int w = TakingsChart::width(period.columns());
    RecordingCanvas canvas(w, TakingsChart::height, 96);
    TakingsChart::draw(canvas, w, TakingsChart::height, takings, period,
                       QStringLiteral("VENDITE AL BANCO"));
    return canvas;
}

QColor pixel(const QImage &image, int x, int y) {
    return image.pixelColor(x, y);
}

} // namespace

// The takings chart: values from the sale headers, its scale, bars and printout.
class TestCharts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scales() {
        // The article chart's top grows by the leading digit and is at least 10.
        QCOMPARE(ChartScale::articleTop(37), 40);
        QCOMPARE(ChartScale::articleTop(40), 50);
        QCOMPARE(ChartScale::articleTop(120), 200);
        QCOMPARE(ChartScale::articleTop(0), 10);
        QCOMPARE(ChartScale::articleTop(2), 10);
        QCOMPARE(ChartScale::articleTop(9), 10);
        QCOMPARE(ChartScale::articleTop(10), 20);
        QCOMPARE(ChartScale::articleTop(99), 100);
        QCOMPARE(ChartScale::articleTop(-5), 10);
        QCOMPARE(ChartScale::articleTop(1999999), 2000000);

        // The takings top: nearest integer, halves to even, never below the largest value.
        QCOMPARE(ChartScale::takingsTop(250), 250);
        QCOMPARE(ChartScale::takingsTop(249.4), 250);
        QCOMPARE(ChartScale::takingsTop(249.6), 250);
        QCOMPARE(ChartScale::takingsTop(2.5), 3);
        QCOMPARE(ChartScale::takingsTop(3.5), 4);
        QCOMPARE(ChartScale::takingsTop(0.2), 1);
        QCOMPARE(ChartScale::takingsTop(0), 0);
        QCOMPARE(ChartScale::takingsTop(-40), 0);

        // Grid labels are the values of their lines, so small tops do not
        // repeat one number on every line.
        QStringList labels;
        for (int n = 9; n >= 0; --n)
            labels << ChartScale::takingsLabel(250, n);
        QCOMPARE(labels.join(u' '), QStringLiteral("25 50 75 100 125 150 175 200 225 250"));
        labels.clear();
        for (int n = 9; n >= 0; --n)
            labels << ChartScale::takingsLabel(5, n);
        QCOMPARE(labels.join(u' '), QStringLiteral("0,5 1 1,5 2 2,5 3 3,5 4 4,5 5"));
        QCOMPARE(ChartScale::takingsLabel(257, 9), QStringLiteral("25,7"));
        QCOMPARE(ChartScale::takingsLabel(0, 5), QStringLiteral("0"));
    }

    void takingsByMonthAndDay() {
        ShopFixture f;
        sale(f, QDate(2026, 3, 2), 60);
        sale(f, QDate(2026, 3, 20), 40);
        sale(f, QDate(2026, 5, 31), 250);
        sale(f, QDate(2026, 6, 1), -40); // a refund: counted, never drawn
        sale(f, QDate(2025, 3, 2), 999);
        sale(f, QDate(2027, 1, 1), 999);
        sale(f, QDate(2025, 12, 31), 999);
        sale(f, QDate(2026, 1, 1), 1); // the first and last days belong to their year
        sale(f, QDate(2026, 12, 31), 2);
        // Keys that name no month or day count in no column, and do no harm.
        saleWithKey(f, QString(), 5);
        saleWithKey(f, QStringLiteral("2026"), 5);
        saleWithKey(f, QStringLiteral("202613"), 5);
        saleWithKey(f, QStringLiteral("2026ab01"), 5);
        saleWithKey(f, QStringLiteral("20260300"), 5);
        saleWithKey(f, QStringLiteral("20260332"), 5);

        const Takings year = TakingsValues::read(f.db(), yearOf(2026));
        QCOMPARE(int(year.values.size()), 12);
        QCOMPARE(year.values[2], 100.0 + 10); // the day keys 00 and 32 still name March
        QCOMPARE(year.values[4], 250.0);
        QCOMPARE(year.values[5], -40.0);
        QCOMPARE(year.values[0], 1.0);
        QCOMPARE(year.values[11], 2.0);
        QCOMPARE(year.total, 323.0);
        QCOMPARE(year.maximum, 250.0);

        const Takings march = TakingsValues::read(f.db(), monthOf(2026, 3));
        QCOMPARE(int(march.values.size()), 31);
        QCOMPARE(march.values[1], 60.0);
        QCOMPARE(march.values[19], 40.0);
        QCOMPARE(march.total, 100.0);
        QCOMPARE(march.maximum, 60.0);

        // Only refunds: the sum is below zero and the largest value is 0.
        const Takings june = TakingsValues::read(f.db(), monthOf(2026, 6));
        QCOMPARE(june.total, -40.0);
        QCOMPARE(june.maximum, 0.0);

        const Takings empty = TakingsValues::read(f.db(), yearOf(2024));
        QCOMPARE(empty.total, 0.0);
        QCOMPARE(empty.maximum, 0.0);
    }

    void yearWithoutSales() {
        const Takings none = TakingsValues::summed(std::vector<double>(12, 0.0));
        const RecordingCanvas canvas = recordTakings(none, yearOf(2026));
        QVERIFY(bars(canvas).isEmpty());
        const QStringList drawn = texts(canvas);
        QCOMPARE(drawn.count(QStringLiteral("0")), 10);
        QVERIFY(drawn.contains(QStringLiteral("Venduto (€)")));
        QVERIFY(drawn.contains(QStringLiteral("VENDITE AL BANCO")));
        QVERIFY(drawn.contains(QStringLiteral("ANNO 2026")));
        QVERIFY(drawn.contains(QStringLiteral("GEN")));
        QVERIFY(drawn.contains(QStringLiteral("DIC")));

        const QImage image = TakingsChart::render(none, yearOf(2026), {});
        QCOMPARE(image.size(), QSize(592, 490));
        // Axes: up the left at x 50, along the bottom at y 440.
        QCOMPARE(pixel(image, 50, 200), QColor(Qt::black));
        QCOMPARE(pixel(image, 300, 440), QColor(Qt::black));
        // No bar anywhere inside the plot.
        for (int i = 1; i <= 12; ++i)
            QCOMPARE(pixel(image, 50 + i * 41 - 10, 420), white);
    }

    void barsOfMarchAndMay() {
        std::vector<double> values(12, 0.0);
        values[2] = 100;
        values[4] = 250;
        values[5] = -40;
        const Takings takings = TakingsValues::summed(values);
        QCOMPARE(takings.total, 310.0);

        const RecordingCanvas canvas = recordTakings(takings, yearOf(2026));
        // Labels 25 .. 250, right-aligned to x 43 and centred on their lines.
        for (int n = 0; n <= 9; ++n) {
            const QString label = QString::number(250 - n * 25);
            const CanvasItem *text = canvas.findText(label);
            QVERIFY2(text, qPrintable(label));
            QCOMPARE(text->position.x() + text->rect.width(), 43);
            QCOMPARE(text->position.y() + text->rect.height() / 2, 50 + n * 39);
        }
        // Two bars: March at 40 % of May's, which reaches the top line; none for June.
        const QList<CanvasItem> drawn = bars(canvas);
        QCOMPARE(drawn.size(), 2);
        QCOMPARE(drawn[0].rect, QRect(QPoint(173 - 20, 440 - 156), QPoint(173 + 20, 439)));
        QCOMPARE(drawn[0].brushColor, TakingsChart::barColour(3));
        QCOMPARE(drawn[1].rect, QRect(QPoint(255 - 20, 50), QPoint(255 + 20, 439)));
        QCOMPARE(drawn[1].brushColor, TakingsChart::barColour(5));
        QCOMPARE(drawn[1].penColor, QColor(Qt::black));

        const QImage image = TakingsChart::render(takings, yearOf(2026), {});
        const QColor lime(0, 255, 0);
        const QColor maroon(128, 0, 0);
        QCOMPARE(pixel(image, 165, 290), lime);
        QCOMPARE(pixel(image, 165, 280), white);
        QCOMPARE(pixel(image, 245, 52), maroon);
        QCOMPARE(pixel(image, 245, 45), white);
        QCOMPARE(pixel(image, 245, 50), QColor(Qt::black)); // the outline's top
        QCOMPARE(pixel(image, 290, 420), white);            // June's refund: no bar
        QCOMPARE(pixel(image, 285, 450), white);
    }

    void colours() {
        QCOMPARE(TakingsChart::barColour(1), QColor(255, 0, 255));  // January fuchsia
        QCOMPARE(TakingsChart::barColour(12), QColor(0, 255, 255)); // December aqua
        QCOMPARE(TakingsChart::barColour(8), QColor(255, 0, 0));
        QCOMPARE(TakingsChart::barColour(9), QColor(192, 192, 192));
        QCOMPARE(TakingsChart::barColour(24), TakingsChart::barColour(12));
    }

    void februaryHasThirtyOneColumns() {
        ShopFixture f;
        sale(f, QDate(2026, 2, 28), 80);
        sale(f, QDate(2026, 2, 1), 20);
        const ChartPeriod february = monthOf(2026, 2);
        const Takings takings = TakingsValues::read(f.db(), february);
        QCOMPARE(int(takings.values.size()), 31);
        QCOMPARE(takings.values[27], 80.0);

        const RecordingCanvas canvas = recordTakings(takings, february);
        const QStringList drawn = texts(canvas);
        for (int day = 1; day <= 31; ++day)
            QVERIFY2(drawn.contains(QString::number(day)), qPrintable(QString::number(day)));
        QVERIFY(drawn.contains(QStringLiteral("Febbraio 2026")));
        const QList<CanvasItem> columnLines = [&] {
            QList<CanvasItem> out;
            for (const CanvasItem &i : itemsOf(canvas, CanvasItem::Kind::Line))
                if (i.position.y() == 50 && i.end.y() == 490 - 45)
                    out << i;
            return out;
        }();
        QCOMPARE(columnLines.size(), 31);
        QCOMPARE(columnLines.last().position.x(), 50 + 31 * 16);
        const QList<CanvasItem> drawnBars = bars(canvas);
        QCOMPARE(drawnBars.size(), 2);
        QCOMPARE(drawnBars[1].rect.left(), 50 + 28 * 16 - 8);
        QCOMPARE(drawnBars[1].rect.top(), 50);

        const QImage image = TakingsChart::render(takings, february, {});
        QCOMPARE(image.width(), 596);
        for (int day : {29, 30, 31})
            QCOMPARE(pixel(image, 50 + day * 16 - 4, 430), white);
    }

    void printout() {
        std::vector<double> values(12, 0.0);
        values[2] = 100;
        values[4] = 1250.5;
        const Takings takings = TakingsValues::summed(values);
        const QImage chart = TakingsChart::render(takings, yearOf(2026), {});

        RecordingCanvas page;
        TakingsPrintout::print(page, chart, takings.total, 2026);
        QCOMPARE(page.pageCount(), 1);
        const QList<CanvasItem> pictures = itemsOf(page, CanvasItem::Kind::Picture);
        QCOMPARE(pictures.size(), 1);
        const int height = page.pageWidth() * 490 / 592;
        QCOMPARE(pictures[0].rect, QRect(0, 0, page.pageWidth(), height));
        QCOMPARE(pictures[0].pictureSize, QSize(592, 490));
        const CanvasItem *total =
            page.findText(QStringLiteral("Totale Venduto € 1.350,50 - Anno 2026"));
        QVERIFY(total);
        QCOMPARE(total->position.x(), 100);
        QCOMPARE(total->font.size, 12.0);
        QCOMPARE(total->position.y(), height + total->rect.height());

        // On a real page the bars keep their colours, stretched with the image.
        QImage printed(1190, 1684, QImage::Format_RGB32);
        printed.fill(Qt::white);
        {
            QPainter painter(&printed);
            QPainterCanvas canvas(painter);
            TakingsPrintout::print(canvas, chart, takings.total, 2026);
        }
        const double scale = 1190.0 / 592;
        QCOMPARE(pixel(printed, int(255 * scale), int(200 * scale)), QColor(128, 0, 0));
        QCOMPARE(pixel(printed, int(165 * scale), int(430 * scale)), QColor(0, 255, 0));
        QCOMPARE(pixel(printed, int(165 * scale), int(300 * scale)), white);
    }
};

// The article chart: pieces of one article, red dots on a scale from 10.
class TestArticleChart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void valuesOfOneArticle() {
        ShopFixture f;
        line(f, 7, QDate(2026, 3, 4), 2);
        line(f, 7, QDate(2026, 3, 9), 3);
        line(f, 7, QDate(2026, 7, 1), 1);
        line(f, 7, QDate(2025, 3, 4), 40);                                // another year
        line(f, 8, QDate(2026, 3, 4), 50);                                // another article
        f.add(QStringLiteral("ARCART_V"), {{QStringLiteral("NUMART"), 7}, // no date
                                           {QStringLiteral("QUANTITA"), 9}});
        const ArticleSales year = ArticleValues::read(f.db(), 7, yearOf(2026));
        QCOMPARE(int(year.values.size()), 12);
        QCOMPARE(year.values[2], 5);
        QCOMPARE(year.values[6], 1);
        QCOMPARE(year.maximum, 5);
        const ArticleSales march = ArticleValues::read(f.db(), 7, monthOf(2026, 3));
        QCOMPARE(int(march.values.size()), 31);
        QCOMPARE(march.values[3], 2);
        QCOMPARE(march.values[8], 3);
        QCOMPARE(ArticleValues::read(f.db(), 99, yearOf(2026)).maximum, 0);
    }

    void soldOnceShowsOneDot() {
        ArticleSales sales;
        sales.values.assign(12, 0);
        sales.values[2] = 2;
        sales.maximum = 2;
        const int w = ArticleChart::width(12);
        QCOMPARE(w, 512);
        RecordingCanvas canvas(w, ArticleChart::height, 96);
        ArticleChart::draw(canvas, w, ArticleChart::height, sales, yearOf(2026));
        // A scale up to 10: labels 1 .. 10 right-aligned to x 33.
        for (int n = 0; n <= 9; ++n) {
            const CanvasItem *label = canvas.findText(QString::number(10 - n));
            QVERIFY(label);
            QCOMPARE(label->position.x() + label->rect.width(), 33);
        }
        // One red dot at 2, March's column (x 148), 78 pixels over the axis.
        const QList<CanvasItem> dots = itemsOf(canvas, CanvasItem::Kind::RoundRect);
        QCOMPARE(dots.size(), 1);
        QCOMPARE(dots[0].rect, QRect(QPoint(145, 349), QPoint(151, 355)));
        QCOMPARE(dots[0].brushColor, red);
        for (const CanvasItem &l : itemsOf(canvas, CanvasItem::Kind::Line))
            QVERIFY(l.penColor != red);

        const QImage image = ArticleChart::render(sales, yearOf(2026));
        QCOMPARE(image.size(), QSize(512, 470));
        QCOMPARE(pixel(image, 148, 352), red);
        QCOMPARE(pixel(image, 148 + 18, 340), white);
        QCOMPARE(pixel(image, 40, 300), QColor(Qt::black));
    }

    void dotsJoinAcrossEmptyColumns() {
        ArticleSales sales;
        sales.values.assign(31, 0);
        sales.values[0] = 37;
        sales.values[4] = 10;
        sales.values[5] = -3; // a return: no dot
        sales.maximum = 37;
        const int w = ArticleChart::width(31);
        QCOMPARE(w, 514);
        RecordingCanvas canvas(w, ArticleChart::height, 96);
        ArticleChart::draw(canvas, w, ArticleChart::height, sales, monthOf(2026, 2));
        QVERIFY(canvas.findText(QStringLiteral("40"))); // the scale up to 40
        QVERIFY(canvas.findText(QStringLiteral("31")));
        QCOMPARE(itemsOf(canvas, CanvasItem::Kind::RoundRect).size(), 2);
        QList<CanvasItem> redLines;
        for (const CanvasItem &l : itemsOf(canvas, CanvasItem::Kind::Line))
            if (l.penColor == red)
                redLines << l;
        QCOMPARE(redLines.size(), 1);
        // Day 1 at 37 of 40, day 5 at 10 of 40; step 39, column width 14.
        QCOMPARE(redLines[0].position, QPoint(54, 430 - 361));
        QCOMPARE(redLines[0].end, QPoint(110, 430 - 98));
    }
};

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        TestCharts t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        TestArticleChart t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "tst_charts.moc"
