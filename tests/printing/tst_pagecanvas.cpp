#include "printing/CanvasFonts.h"
#include "printing/QPainterCanvas.h"
#include "printing/RecordingCanvas.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QTest>

using namespace corvale;

namespace {

QImage page600(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dpm = qRound(600 / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    return image;
}

// Bounding box of the pixels that are not white.
QRect inkBox(const QImage &image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

class TestPageCanvas : public QObject {
    Q_OBJECT
private slots:
    void shopFacesResolveToMetricArial() {
        for (const char *name : {"Arial", "MS Sans Serif", "Ariel", "arial"}) {
            CanvasFont f;
            f.name = QString::fromLatin1(name);
            QCOMPARE(QFontInfo(CanvasFonts::toQFont(f, 600)).family(),
                     QStringLiteral("Liberation Sans"));
        }
        CanvasFont ten;
        ten.size = 10;
        QCOMPARE(CanvasFonts::pixelSize(ten, 600), 83);
        QCOMPARE(CanvasFonts::pixelSize(ten, 96), 13);
    }

    void recordingMeasuresLikeThePrinterPage() {
        // A layout computed on the recording canvas must land where the
        // printer puts it: same widths and heights as a 600-dpi device.
        QImage image = page600(10, 10);
        QPainter painter(&image);
        QPainterCanvas device(painter);
        RecordingCanvas recording;
        for (double size : {8.0, 10.0, 16.0}) {
            for (bool bold : {false, true}) {
                CanvasFont f;
                f.size = size;
                f.bold = bold;
                device.setFont(f);
                recording.setFont(f);
                const QString s = QStringLiteral("TOTALE DOCUMENTO € 1.234,56 Wiiii");
                QCOMPARE(recording.textWidth(s), device.textWidth(s));
                QCOMPARE(recording.textHeight(u"X"_qs), device.textHeight(u"X"_qs));
            }
        }
        // Line height is the font's cell: about 1.15 em for Arial's metrics.
        CanvasFont ten;
        recording.setFont(ten);
        QVERIFY(recording.textHeight(u"X"_qs) >= 93 && recording.textHeight(u"X"_qs) <= 97);
        // A cell height asked for is the cell height measured.
        CanvasFont cell;
        cell.height = 140;
        recording.setFont(cell);
        QVERIFY(qAbs(recording.textHeight(u"8"_qs) - 140) <= 1);
    }

    void shapesCoverExactlyTheirPixels() {
        QImage image = page600(60, 40);
        {
            QPainter painter(&image);
            QPainterCanvas canvas(painter);
            canvas.setPen(Qt::black);
            canvas.setBrush(Qt::black);
            canvas.rectangle(10, 5, 13, 30); // columns 10..12, rows 5..29
            canvas.fillRect(QRect(20, 5, 1, 25), Qt::black);
            canvas.setPen(Qt::red, 3);
            canvas.setBrushClear();
            canvas.rectangle(30, 5, 50, 30);
        }
        QCOMPARE(inkBox(image.copy(0, 0, 15, 40)), QRect(10, 5, 3, 25));
        QCOMPARE(inkBox(image.copy(15, 0, 10, 40)), QRect(5, 5, 1, 25));
        // A thick outline stays inside its rectangle, the inside stays clear.
        QCOMPARE(inkBox(image.copy(25, 0, 35, 40)), QRect(5, 5, 20, 25));
        QCOMPARE(image.pixel(32, 7), qRgb(255, 0, 0));
        QCOMPARE(image.pixel(40, 15), qRgb(255, 255, 255));
    }

    void textHangsFromItsTopLeftOnItsBrush() {
        QImage image = page600(400, 200);
        int height = 0;
        {
            QPainter painter(&image);
            QPainterCanvas canvas(painter);
            canvas.setFont(CanvasFont{});
            canvas.setBrushClear();
            canvas.textOut(20, 30, u"X"_qs);
            height = canvas.textHeight(u"X"_qs);
        }
        const QRect ink = inkBox(image);
        QVERIFY(ink.left() >= 20 && ink.left() < 30);
        QVERIFY(ink.top() > 30 && ink.top() < 30 + height / 3);
        QVERIFY(ink.bottom() < 30 + height);

        // With a brush, the text cell is painted first.
        QImage shaded = page600(400, 200);
        {
            QPainter painter(&shaded);
            QPainterCanvas canvas(painter);
            canvas.setBrush(QColor(0, 0, 255));
            canvas.textOut(20, 30, u"X"_qs);
            QCOMPARE(shaded.pixel(20 + canvas.textWidth(u"X"_qs) - 1, 30 + height - 1),
                     qRgb(0, 0, 255));
        }
        QCOMPARE(shaded.pixel(20, 30 + height), qRgb(255, 255, 255));
    }

    void recordsItemsWithStateAndPage() {
        RecordingCanvas canvas;
        QVERIFY(canvas.isPrinterPage());
        QCOMPARE(canvas.resolution(), 600);
        canvas.setFontSize(12);
        canvas.setBold(true);
        canvas.textOut(100, 200, u"SEGUE"_qs);
        const QSize segueSize(canvas.textWidth(u"SEGUE"_qs), canvas.textHeight(u"SEGUE"_qs));
        canvas.setPen(Qt::blue, 5);
        canvas.moveTo(0, 10);
        canvas.lineTo(500, 10);
        canvas.newPage();
        canvas.setBold(false);
        canvas.setBrushClear();
        canvas.rectangle(10, 20, 110, 220);
        canvas.textOut(300, 50, u"B"_qs);
        canvas.textOut(100, 52, u"A"_qs);
        canvas.textOut(100, 400, u"C"_qs);

        QCOMPARE(canvas.pageCount(), 2);
        const CanvasItem *segue = canvas.findText(u"SEGUE"_qs);
        QVERIFY(segue);
        QCOMPARE(segue->page, 1);
        QCOMPARE(segue->position, QPoint(100, 200));
        QCOMPARE(segue->font.size, 12.0);
        QVERIFY(segue->font.bold);
        QCOMPARE(segue->rect.size(), segueSize);
        QVERIFY(!canvas.findText(u"SEGUE"_qs, 2));

        const QList<CanvasItem> first = canvas.itemsOnPage(1);
        QCOMPARE(first.size(), 2);
        QCOMPARE(first[1].kind, CanvasItem::Kind::Line);
        QCOMPARE(first[1].penColor, QColor(Qt::blue));
        QCOMPARE(first[1].penWidth, 5);
        QCOMPARE(first[1].end, QPoint(500, 10));

        const QList<CanvasItem> second = canvas.itemsOnPage(2);
        QCOMPARE(second[0].kind, CanvasItem::Kind::Rectangle);
        QCOMPARE(second[0].rect, QRect(10, 20, 100, 200));
        QVERIFY(second[0].brushClear);
        QCOMPARE(canvas.textsInReadingOrder(2, 5), (QStringList{u"A"_qs, u"B"_qs, u"C"_qs}));
        QCOMPARE(canvas.textsInReadingOrder(2, 0), (QStringList{u"B"_qs, u"A"_qs, u"C"_qs}));
    }
};

QTEST_MAIN(TestPageCanvas)
#include "tst_pagecanvas.moc"
