#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "labels/BarcodeDataSource.h"
#include "labels/BarcodeDragOverlay.h"
#include "labels/TPrintBarcode.h"
#include "labels/TableBarcodeSource.h"
#include "printing/QPainterCanvas.h"
#include "printing/RecordingCanvas.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace corvale;

namespace {

using Kind = CanvasItem::Kind;

QList<CanvasItem> rectsOf(const RecordingCanvas &c, const QColor &brush) {
    QList<CanvasItem> out;
    for (const CanvasItem &i : c.items())
        if (i.kind == Kind::Rectangle && !i.brushClear && i.brushColor == brush)
            out.append(i);
    return out;
}

QRect unite(const QList<CanvasItem> &items) {
    QRect r;
    for (const CanvasItem &i : items)
        r |= i.rect;
    return r;
}

class FakeSource : public BarcodeDataSource {
public:
    bool active = true;
    QString value;
    bool isActive() const override { return active; }
    QString fieldText(const QString &field) const override {
        return field == u"BARCODE" ? value : QString();
    }
};

void sendMouse(QWidget *w, QEvent::Type type, const QPoint &local, Qt::MouseButtons buttons) {
    const QPointF global = w->mapToGlobal(QPointF(local));
    QMouseEvent e(type, QPointF(local), global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A control on a 96-dpi screen, whatever the test platform reports.
struct Control {
    QWidget parent;
    TPrintBarcode *bc;
    Control()
        : bc(new TPrintBarcode(&parent)) {
        parent.resize(800, 600);
        bc->setScreenDpi(96, 96);
    }
};

} // namespace

class TestTPrintBarcode : public QObject {
    Q_OBJECT
private slots:
    void defaultsAndSetters() {
        Control c;
        TPrintBarcode &bc = *c.bc;
        QCOMPARE(bc.text(), u"1234"_qs);
        QCOMPARE(bc.barCodeType(), TBarCodeType::Interleaved2Of5);
        QVERIFY(bc.clearZone() && bc.autoSizing() && !bc.autoPosition());
        QCOMPARE(bc.magnification(), 1.0);
        QCOMPARE(bc.color(), QColor(Qt::white));
        QCOMPARE(bc.barColor(), QColor(Qt::black));

        bc.setText(QString(300, u'7'));
        QCOMPARE(bc.text().size(), 280);

        bc.setAutoSizing(false);
        bc.setBarCodeType(TBarCodeType::PostnetZip);
        QVERIFY(bc.autoSizing());

        bc.setBarCodeType(TBarCodeType::EAN13);
        bc.setMagnification(5);
        QCOMPARE(bc.magnification(), 4.0);
        bc.setMagnification(0.1);
        QCOMPARE(bc.magnification(), 0.2);
        bc.setBarCodeType(TBarCodeType::Code128);
        bc.setMagnification(5);
        QCOMPARE(bc.magnification(), 2.0);
        bc.setBarCodeType(TBarCodeType::Code39);
        bc.setMagnification(1.5);
        QCOMPARE(bc.magnification(), 2.0);

        bc.setHeightInInches(0.5);
        QCOMPARE(bc.height(), 48);
        bc.resize(200, 48);
        QCOMPARE(bc.widthInInches(), 2.083);
        bc.setLeftInInches(1.25);
        bc.setTopInInches(0.26);
        QCOMPARE(bc.pos(), QPoint(120, 25));
        QCOMPARE(bc.leftInInches(), 1.25);
        bc.setWidthInInches(std::numeric_limits<double>::quiet_NaN());
        QCOMPARE(bc.width(), 0);
    }

    void ean13OnThePrinterPage() {
        Control c;
        TPrintBarcode &bc = *c.bc;
        bc.setBarCodeType(TBarCodeType::EAN13);
        bc.setText(u"871010169326"_qs);
        bc.move(100, 200);
        RecordingCanvas page; // 600 dpi printer page
        CanvasFont callerFont;
        callerFont.size = 8;
        page.setFont(callerFont);
        page.setPen(Qt::red, 3);
        page.setBrushClear();
        QCOMPARE(bc.DrawBarcode(page, 0).result, BarcodeOutcome::Result::Drawn);

        // Module 8 dots at 600 dpi; bars 55 modules high; 113 modules wide.
        const int m = 8, b = 55 * m;
        const QList<CanvasItem> bars = rectsOf(page, Qt::black);
        const QRect symbol = unite(bars);
        QCOMPARE(symbol.left(), 100 + 11 * m);
        QCOMPARE(symbol.right() + 1, 100 + 11 * m + 95 * m);
        QCOMPARE(symbol.top(), 200 + m);
        QCOMPARE(symbol.bottom() + 1, 200 + m + b + 5 * m); // guards reach lower
        // One rectangle per set module.
        QCOMPARE(bars.size(), 47);
        // Box in the caller's (clear) brush, T modules wide.
        const CanvasItem &box = page.items().front();
        QCOMPARE(box.rect, QRect(100, 200, 113 * m, b + 11 * m));
        QVERIFY(box.brushClear);
        // The leading digit left of the guards, the others under their bars.
        const CanvasItem *lead = page.findText(u"8"_qs);
        QVERIFY(lead);
        QCOMPARE(lead->position, QPoint(100 + 5 * m, 200 + b));
        QCOMPARE(lead->font.name, u"Ariel"_qs);
        QCOMPARE(lead->font.height, 14 * m);
        QVERIFY(lead->font.bold);
        QCOMPARE(page.textsInReadingOrder().join(QString()), u"8710101693262"_qs);
        const QList<CanvasItem> twos = page.textsContaining(u"2"_qs);
        QCOMPARE(twos.last().position, QPoint(100 + 11 * m + 85 * m, 200 + m + b - m));
        QCOMPARE(twos.last().brushColor, QColor(Qt::white));
        // The caller's font, pen and brush come back.
        QCOMPARE(page.font(), callerFont);
        QCOMPARE(page.penColor(), QColor(Qt::red));
        QCOMPARE(page.penWidth(), 3);
        QVERIFY(page.brushClear());
    }

    void fixedSizingTooSmall() {
        Control c;
        TPrintBarcode &bc = *c.bc;
        bc.setBarCodeType(TBarCodeType::EAN13);
        bc.setAutoSizing(false);
        bc.setText(u"871010169326"_qs);
        bc.resize(112, 40);
        RecordingCanvas page;
        QCOMPARE(bc.DrawBarcode(page, 0).result, BarcodeOutcome::Result::TooSmall);
        QVERIFY(page.items().isEmpty());

        RecordingCanvas own(800, 600, 96);
        own.setPrinterPage(false);
        own.setBrush(Qt::yellow);
        QCOMPARE(bc.drawOwnSurface(own).result, BarcodeOutcome::Result::TooSmall);
        QCOMPARE(own.items().size(), 1);
        QCOMPARE(own.items()[0].rect, QRect(0, 0, 112, 40));
        QCOMPARE(own.items()[0].penColor, QColor(Qt::black));
        QCOMPARE(own.items()[0].brushColor, QColor(Qt::yellow));

        // 113 pixels give a one-pixel module: bars H - 12 high, control filled.
        bc.resize(113, 40);
        RecordingCanvas own2(800, 600, 96);
        own2.setPrinterPage(false);
        QCOMPARE(bc.drawOwnSurface(own2).result, BarcodeOutcome::Result::Drawn);
        QCOMPARE(own2.items()[1].rect, QRect(0, 0, 113, 40));
        QCOMPARE(unite(rectsOf(own2, Qt::black)).height(), 40 - 12 + 5);
        QCOMPARE(bc.size(), QSize(113, 40)); // fixed sizing keeps the size
    }

    void automaticSizesOnOwnSurface() {
        Control c;
        TPrintBarcode &bc = *c.bc;
        RecordingCanvas own(800, 600, 96);
        own.setPrinterPage(false);
        bc.setBarCodeType(TBarCodeType::EAN13);
        bc.setText(u"871010169326"_qs);
        bc.drawOwnSurface(own);
        QCOMPARE(bc.size(), QSize(113, 66));

        bc.setBarCodeType(TBarCodeType::EAN8);
        bc.setText(u"1234567"_qs);
        bc.drawOwnSurface(own);
        QCOMPARE(bc.size(), QSize(81, 66));

        // A small magnification is raised to the smallest module.
        bc.setScreenDpi(400, 400);
        bc.setBarCodeType(TBarCodeType::EAN13);
        bc.setMagnification(0.2);
        bc.setText(u"871010169326"_qs);
        bc.drawOwnSurface(own);
        QCOMPARE(bc.size(), QSize(113 * 2, 66 * 2));
        bc.setMagnification(2);
        bc.drawOwnSurface(own);
        QCOMPARE(bc.size(), QSize(113 * 10, 66 * 10));
    }

    void resolutionsAndPositions() {
        Control c;
        TPrintBarcode &bc = *c.bc;
        bc.setBarCodeType(TBarCodeType::Code39);
        bc.setText(u"AB"_qs);
        bc.setGeometry(96, 48, 96, 48);
        // AutoPosition and AutoSizing scale screen pixels to the 600-dpi page.
        bc.setAutoPosition(true);
        RecordingCanvas page;
        bc.DrawBarcode(page, 0);
        QRect all = unite(page.items());
        QCOMPARE(all.left(), 600);
        QCOMPARE(all.top(), 300);
        QVERIFY(all.right() < 600 + 600);
        QCOMPARE(all.height(), 300);

        // On a canvas that is not a printer page the caller's resolution rules.
        bc.setAutoPosition(false);
        RecordingCanvas image(2000, 2000, 600);
        image.setPrinterPage(false);
        bc.DrawBarcode(image, 300);
        all = unite(image.items());
        QCOMPARE(all.topLeft(), QPoint(96, 48));
        QCOMPARE(all.height(), 150);
        // The printer page keeps its own vertical resolution.
        RecordingCanvas tall;
        tall.setVerticalResolution(1200);
        bc.DrawBarcode(tall, 0);
        QCOMPARE(unite(tall.items()).height(), 600);
    }

    void interleavedBearerBars() {
        Control c;
        TPrintBarcode &bc = *c.bc;
        bc.setText(u"123"_qs);
        bc.setGeometry(0, 0, 120, 40);
        RecordingCanvas page;
        bc.DrawBarcode(page, 0);
        const QList<CanvasItem> bars = rectsOf(page, Qt::black);
        const CanvasItem top = bars[bars.size() - 2];
        const CanvasItem bottom = bars.last();
        QCOMPARE(top.rect.top(), 0);
        QCOMPARE(bottom.rect.bottom() + 1, 250);
        QCOMPARE(top.rect.left(), bottom.rect.left());
        // The bearers cover every bar from the start to the stop.
        QRect barArea = unite(bars.mid(0, bars.size() - 2));
        QCOMPARE(top.rect.left(), barArea.left());
        QCOMPARE(top.rect.right(), barArea.right());
    }

    void code128PostnetAndFim() {
        Control c;
        TPrintBarcode &bc = *c.bc;
        RecordingCanvas own(800, 600, 96);
        own.setPrinterPage(false);
        bc.setBarCodeType(TBarCodeType::Code128);
        bc.setText(u"ab"_qs);
        bc.drawOwnSurface(own);
        // Module round(96 * 0.03937) = 4; 4 values; box 11*5 + 13 + 20 modules.
        QCOMPARE(bc.size(), QSize(4 * (11 * 5 + 13 + 20), 32 * 4));

        bc.setBarCodeType(TBarCodeType::EAN128);
        bc.setText(u"01"_qs);
        RecordingCanvas page;
        bc.DrawBarcode(page, 0);
        // Module 24 dots at 600 dpi; 32 modules high beats a fifth of an inch.
        QCOMPARE(unite(rectsOf(page, Qt::black)).height(), 32 * 24);
        // Code 128 with fixed sizing takes its height from the control.
        bc.setBarCodeType(TBarCodeType::Code128);
        bc.setAutoSizing(false);
        bc.resize(100, 48);
        RecordingCanvas fixed;
        bc.DrawBarcode(fixed, 0);
        QCOMPARE(unite(rectsOf(fixed, Qt::black)).height(), 300);
        bc.setAutoSizing(true);
        bc.setBarCodeType(TBarCodeType::EAN128);

        // Every control character between lower case needs a Shift: 421 values.
        QString shifts;
        for (int i = 0; i < 140; ++i)
            shifts += u"a\x01"_qs;
        bc.setText(shifts);
        RecordingCanvas longPage;
        QCOMPARE(bc.DrawBarcode(longPage, 0).result, BarcodeOutcome::Result::TooSmall);
        QVERIFY(longPage.items().isEmpty());

        bc.setBarCodeType(TBarCodeType::PostnetZip);
        bc.setText(u"12345"_qs);
        bc.move(0, 0);
        RecordingCanvas post;
        bc.DrawBarcode(post, 0);
        // Pitch 27, bar 13; tall 75, short 30; 32 bars.
        const QList<CanvasItem> bars = rectsOf(post, Qt::black);
        QCOMPARE(bars.size(), 32);
        QCOMPARE(bars[0].rect, QRect(0, 0, 13, 75));
        QCOMPARE(bars[1].rect, QRect(27, 45, 13, 30)); // "1" starts short
        QCOMPARE(bars.last().rect.right() + 1, 31 * 27 + 13);
        bc.drawOwnSurface(own);
        QCOMPARE(bc.width(), (5 * 6 + 2) * 4 + 4); // pitch 4 on a 96-dpi screen

        bc.setBarCodeType(TBarCodeType::FIMA);
        bc.setAutoPosition(true);
        RecordingCanvas fim;
        bc.DrawBarcode(fim, 0);
        const QList<CanvasItem> marks = rectsOf(fim, Qt::black);
        QCOMPARE(marks.size(), 5);
        const int u = (600 + 16) / 32;
        QCOMPARE(marks[0].rect, QRect(fim.pageWidth() - 1200 - 18 * u - 2, 1, u, 375));
    }

    void dataLink() {
        Control c;
        TPrintBarcode &bc = *c.bc;
        FakeSource source;
        source.value = u"123"_qs;
        bc.setBarCodeType(TBarCodeType::EAN13);
        bc.setDataSource(&source);
        QCOMPARE(bc.text(), u"1234"_qs); // no field yet
        bc.setDataField(u"BARCODE"_qs);
        QCOMPARE(bc.text(), u"000000000123"_qs);
        source.value = u"8710101693262"_qs;
        bc.recordChanged();
        QCOMPARE(bc.text(), u"8710101693262"_qs);
        bc.setBarCodeType(TBarCodeType::EAN);
        source.value = u"123"_qs;
        bc.recordChanged();
        QCOMPARE(bc.text(), u"123"_qs);
        source.active = false;
        source.value = u"999"_qs;
        bc.recordChanged();
        QCOMPARE(bc.text(), u"123"_qs);
    }

    void dataLinkOverATable() {
        QTemporaryDir dir;
        db::Database magazzino;
        magazzino.open(dir.path());
        magazzino.createTable(u"ELEMENTI.DBF"_qs, {db::FieldDef::text(u"BARCODE"_qs, 13)});
        db::Table elementi(magazzino);
        elementi.setTableName(u"ELEMENTI.DBF"_qs);
        elementi.open();
        for (const QString &code : {u"871010169326"_qs, u"4711"_qs}) {
            elementi.append();
            elementi.setString(u"BARCODE"_qs, code);
            elementi.post();
        }
        elementi.first();

        Control c;
        TPrintBarcode &bc = *c.bc;
        bc.setBarCodeType(TBarCodeType::EAN13);
        TableBarcodeSource source(elementi);
        bc.setDataSource(&source);
        bc.setDataField(u"BARCODE"_qs);
        QCOMPARE(bc.text(), u"871010169326"_qs);
        elementi.next();
        bc.recordChanged();
        QCOMPARE(bc.text(), u"000000004711"_qs);
        // A closed table leaves the text as it was; a missing field is the
        // engine's error, not an empty barcode.
        elementi.close();
        bc.recordChanged();
        QCOMPARE(bc.text(), u"000000004711"_qs);
        elementi.open();
        QVERIFY_THROWS_EXCEPTION(db::Error, bc.setDataField(u"CODICE"_qs));
    }

    void paintsItsOwnSurface() {
        Control c;
        TPrintBarcode &bc = *c.bc;
        bc.setBarCodeType(TBarCodeType::EAN13);
        bc.setText(u"871010169326"_qs);
        QImage image(200, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        bc.render(&image);
        // The left guard bar stands at module 11.
        QCOMPARE(image.pixel(11, 10), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(12, 10), qRgb(255, 255, 255));
        QCOMPARE(bc.size(), QSize(113, 66));
    }

    void movesAndResizesWithTheMouse() {
        Control c;
        TPrintBarcode &bc = *c.bc;
        c.parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&c.parent));
        bc.setGeometry(100, 100, 200, 60);

        sendMouse(&bc, QEvent::MouseButtonPress, QPoint(100, 30), Qt::LeftButton);
        sendMouse(&bc, QEvent::MouseMove, QPoint(130, 50), Qt::LeftButton);
        // While dragging, the frame follows the mouse on an overlay of the window.
        const auto overlays = c.parent.findChildren<BarcodeDragOverlay *>();
        QCOMPARE(overlays.size(), 1);
        QCOMPARE(overlays[0]->geometry(), c.parent.rect());
        QCOMPARE(overlays[0]->frame(), QRect(130, 120, 200, 60));
        sendMouse(&bc, QEvent::MouseButtonRelease, QPoint(130, 50), Qt::NoButton);
        QCOMPARE(bc.geometry(), QRect(130, 120, 200, 60));
        QVERIFY(c.parent.findChildren<BarcodeDragOverlay *>().isEmpty());

        // Near the right edge: the right side follows the mouse.
        sendMouse(&bc, QEvent::MouseButtonPress, QPoint(196, 30), Qt::LeftButton);
        QCOMPARE(bc.cursor().shape(), Qt::SizeHorCursor);
        sendMouse(&bc, QEvent::MouseButtonRelease, QPoint(236, 30), Qt::NoButton);
        QCOMPARE(bc.geometry(), QRect(130, 120, 240, 60));

        // Near the top-left corner: both edges move.
        sendMouse(&bc, QEvent::MouseButtonPress, QPoint(1, 1), Qt::LeftButton);
        sendMouse(&bc, QEvent::MouseButtonRelease, QPoint(11, 21), Qt::NoButton);
        QCOMPARE(bc.geometry(), QRect(140, 140, 230, 40));

        // A drag that leaves 8 pixels or fewer is refused.
        sendMouse(&bc, QEvent::MouseButtonPress, QPoint(228, 20), Qt::LeftButton);
        sendMouse(&bc, QEvent::MouseButtonRelease, QPoint(6, 20), Qt::NoButton);
        QCOMPARE(bc.geometry(), QRect(140, 140, 230, 40));
    }
};

QTEST_MAIN(TestTPrintBarcode)
#include "tst_tprintbarcode.moc"
