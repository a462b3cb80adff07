#include "platform/Jpeg.h"

#include <QPainter>
#include <QTest>

using corvale::Jpeg;

class TestJpeg : public QObject {
    Q_OBJECT
private:
    static QImage sample(int w, int h) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.fillRect(0, 0, w / 2, h / 2, QColor(200, 20, 20));
        p.fillRect(w / 2, h / 2, w / 2, h / 2, QColor(20, 20, 200));
        return img;
    }

private Q_SLOTS:
    void roundTripKeepsPicture() {
        const QImage in = sample(320, 240);
        QString error;
        const QByteArray bytes = Jpeg::encode(in, 90, &error);
        QVERIFY2(Jpeg::looksLikeJpeg(bytes), qPrintable(error));
        const QImage out = Jpeg::decode(bytes, {}, &error);
        QCOMPARE(out.size(), in.size());
        const QColor red = out.pixelColor(40, 40);
        QVERIFY(red.red() > 180 && red.green() < 50 && red.blue() < 50);
        const QColor blue = out.pixelColor(280, 200);
        QVERIFY(blue.blue() > 180 && blue.red() < 50);
    }

    void dctScalingCoversTarget() {
        const QByteArray bytes = Jpeg::encode(sample(1600, 1200), 80);
        const QImage quarter = Jpeg::decode(bytes, QSize(300, 300));
        QCOMPARE(quarter.size(), QSize(400, 300));
        const QImage eighth = Jpeg::decode(bytes, QSize(100, 100));
        QCOMPARE(eighth.size(), QSize(200, 150));
        const QImage full = Jpeg::decode(bytes, QSize(1500, 1100));
        QCOMPARE(full.size(), QSize(1600, 1200));
    }

    void corruptStreamsFailCleanly() {
        QString error;
        QVERIFY(Jpeg::decode(QByteArray("GIF89a....."), {}, &error).isNull());
        QVERIFY(!error.isEmpty());
        QByteArray bytes = Jpeg::encode(sample(64, 64));
        QVERIFY(Jpeg::decode(bytes.left(20), {}, &error).isNull());
        QByteArray garbage = bytes;
        for (qsizetype i = 2; i < garbage.size(); i += 7)
            garbage[i] = char(0xFF);
        Jpeg::decode(garbage, {}, &error); // must not crash, whatever it returns
        QVERIFY(Jpeg::encode(QImage()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestJpeg)
#include "tst_jpeg.moc"
