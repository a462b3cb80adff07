#include "widgets/CaptionBox.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"
#include "widgets/TitleBand.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

using namespace corvale;

class TestWidgets : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void focusedEditBoxTurnsLightYellow() {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *a = new QLineEdit;
        auto *b = new QLineEdit;
        layout->addWidget(a);
        layout->addWidget(b);
        FocusHighlighter::install(&window);
        // Installing twice must not stack a second filter.
        QCOMPARE(FocusHighlighter::install(&window), window.findChild<FocusHighlighter *>());
        auto *late = new QSpinBox; // added after install
        layout->addWidget(late);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        const QColor normal = b->palette().color(QPalette::Base);
        QVERIFY(normal != FocusHighlighter::focusColor());

        a->setFocus();
        QTRY_COMPARE(a->palette().color(QPalette::Base), QColor(255, 255, 225));
        QCOMPARE(b->palette().color(QPalette::Base), normal);
        b->setFocus();
        QTRY_COMPARE(b->palette().color(QPalette::Base), QColor(255, 255, 225));
        QCOMPARE(a->palette().color(QPalette::Base), normal);
        late->setFocus();
        QTRY_COMPARE(late->palette().color(QPalette::Base), QColor(255, 255, 225));
        QCOMPARE(b->palette().color(QPalette::Base), normal);
    }

    void otherWindowsAreLeftAlone() {
        QWidget mine, other;
        auto *edit = new QLineEdit(&other);
        FocusHighlighter::install(&mine);
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        edit->setFocus();
        QTest::qWait(20);
        QVERIFY(edit->palette().color(QPalette::Base) != FocusHighlighter::focusColor());
    }

    void titleBandDrawsPictureAndRedHeading() {
        TitleBand band(QStringLiteral("ARCHIVIO TAGLIE"));
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(QColor(0, 0, 255));
        band.setPicture(picture);
        band.resize(400, 28);
        const QImage shot = band.grab().toImage();
        QCOMPARE(shot.pixelColor(2, 2), QColor(0, 0, 255)); // stretched picture in the corner
        bool red = false;
        for (int x = 100; x < 300 && !red; ++x) {
            for (int y = 0; y < 28 && !red; ++y) {
                const QColor c = shot.pixelColor(x, y);
                red = c.red() > 200 && c.green() < 60 && c.blue() < 60;
            }
        }
        QVERIFY2(red, "the heading is not drawn in red in the middle of the band");
        // A missing picture still gives a usable band.
        band.setPicture(QStringLiteral("/nonexistent/top.BMP"));
        QVERIFY(band.picture().isNull());
        QVERIFY(!band.grab().isNull());
    }

    void captionBoxTilesBackground() {
        CaptionBox box(QStringLiteral("Dati Articolo"));
        QCOMPARE(box.title(), QStringLiteral("Dati Articolo"));
        QImage bg(8, 8, QImage::Format_RGB32);
        bg.fill(QColor(10, 200, 10));
        box.setBackground(bg);
        box.resize(120, 80);
        const QImage shot = box.grab().toImage();
        const QColor c = shot.pixelColor(60, 45);
        QVERIFY2(c.green() > 190 && c.red() < 30 && c.blue() < 30, qPrintable(c.name()));
    }

    void panelWindowOpensWithItsBandAndToolbar() {
        QWidget window;
        QVBoxLayout *layout = formkit::panelWindow(&window, QStringLiteral("Archivio"),
                                                   QStringLiteral("ARCHIVIO"), QString());
        QCOMPARE(window.layout(), layout);
        QCOMPARE(window.windowTitle(), QStringLiteral("Archivio"));
        QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(window.autoFillBackground());
        QCOMPARE(layout->contentsMargins(), QMargins());
        QCOMPARE(layout->spacing(), 2);
        auto *band = qobject_cast<TitleBand *>(layout->itemAt(0)->widget());
        QVERIFY(band);
        QCOMPARE(band->heading(), QStringLiteral("ARCHIVIO"));

        QHBoxLayout *toolbar = formkit::toolbar(layout);
        QCOMPARE(layout->count(), 2);
        QCOMPARE(layout->itemAt(1)->layout(), toolbar);
        QCOMPARE(toolbar->contentsMargins(), QMargins(8, 2, 8, 2));
        QCOMPARE(toolbar->spacing(), 4);
    }
};

QTEST_MAIN(TestWidgets)
#include "tst_widgets.moc"
