#include "labels/TPrintBarcode.h"
#include "printing/QPainterCanvas.h"
#include "printing/RecordingCanvas.h"

#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace corvale;

namespace {

// The symbol drawn by the control on a white 'printer page' image at `dpi`,
// with a quarter inch of paper all round.
QImage printed(TPrintBarcode &control, int dpi) {
    const int margin = dpi / 4;
    control.move(margin, margin);
    RecordingCanvas dry(1 << 20, 1 << 20, dpi);
    control.DrawBarcode(dry, 0);
    QRect extent;
    for (const CanvasItem &item : dry.items())
        extent |= item.rect;
    if (extent.isEmpty())
        return {};
    QImage image(extent.right() + 1 + margin, extent.bottom() + 1 + margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    canvas.setPrinterPage(true);
    control.DrawBarcode(canvas, 0);
    return image;
}

// What an independent decoder reads from an image file.
QString decode(const QString &file) {
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {u"-q"_qs, u"--raw"_qs, u"-Si25.min-length=4"_qs, file});
    if (!zbar.waitForFinished(60000))
        return u"<zbarimg did not finish>"_qs;
    QString out = QString::fromLatin1(zbar.readAllStandardOutput());
    if (out.endsWith(u'\n'))
        out.chop(1);
    return out;
}

} // namespace

class TestBarcodeDecode : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable(u"zbarimg"_qs).isEmpty(),
                 "zbarimg (zbar-tools) is needed: run scripts/setup");
    }

    void scannerReadsWhatWePrint_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("dpi");

        QString printable;
        for (char16_t c = 32; c < 127; ++c)
            printable += QChar(c);
        QString pairs;
        for (int i = 0; i < 100; ++i)
            pairs += QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));

        struct Case {
            const char *type;
            QString text;
            QString expected;
        };
        const Case cases[] = {
            {"EAN13", u"871010169326"_qs, u"8710101693262"_qs},
            {"EAN13", u"8001234500016"_qs, u"8001234500016"_qs},
            {"EAN", u"4006381333931"_qs, u"4006381333931"_qs},
            {"EAN8", u"1234567"_qs, u"12345670"_qs},
            {"EAN", u"9638507"_qs, u"96385074"_qs},
            {"Code39", u"CORVALE-42 $/+%."_qs, u"CORVALE-42 $/+%."_qs},
            {"Code39", u"0123456789ABCDEFGHIJ"_qs, u"0123456789ABCDEFGHIJ"_qs},
            {"Code39", u"KLMNOPQRSTUVWXYZ"_qs, u"KLMNOPQRSTUVWXYZ"_qs},
            {"Interleaved2Of5", u"123"_qs, u"0123"_qs},
            {"Interleaved2Of5", u"0123456789"_qs, u"0123456789"_qs},
            {"ITF14", u"123456789012"_qs, u"01234567890128"_qs},
            {"ITF14", u"5012345678900"_qs, u"05012345678900"_qs},
            {"Code128", u"Abc1234567xyz"_qs, u"Abc1234567xyz"_qs},
            {"Code128", printable, printable},
            {"Code128", pairs, pairs},
            {"Code128", u"AB\tCD"_qs, u"AB\tCD"_qs},
            {"Code128", u"ab\tcd"_qs, u"ab\tcd"_qs},
            {"EAN128", u"0101234567890128"_qs, u"0101234567890128"_qs},
        };
        for (int dpi : {300, 600})
            for (const Case &c : cases)
                QTest::addRow("%s %s @%d", c.type, qPrintable(c.text.left(20)), dpi)
                    << QString::fromLatin1(c.type) << c.text << c.expected << dpi;
    }

    void scannerReadsWhatWePrint() {
        QFETCH(QString, type);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QFETCH(int, dpi);

        TPrintBarcode control;
        control.setScreenDpi(96, 96);
        control.setBarCodeType(barCodeTypeFromName(type).value());
        control.setMagnification(0.3); // Code 128: a 0.3 mm module
        control.setText(text);
        control.resize(420, 60);
        const QImage image = printed(control, dpi);
        QVERIFY(!image.isNull());

        QTemporaryDir dir;
        const QString file = dir.filePath(u"symbol.png"_qs);
        QVERIFY(image.save(file));
        QCOMPARE(decode(file), expected);
    }

    void supportToolDrawsADecodableSymbol() {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"tool.png"_qs);
        QProcess tool;
        tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        tool.start(QStringLiteral(CORVALE_BINARY_DIR "/tools/barcode/corvale-barcode"),
                   {u"EAN13"_qs, u"871010169326"_qs, file, u"--dpi"_qs, u"300"_qs});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        QCOMPARE(decode(file), u"8710101693262"_qs);

        // A symbol that cannot be drawn is an error, not an empty picture.
        tool.start(QStringLiteral(CORVALE_BINARY_DIR "/tools/barcode/corvale-barcode"),
                   {u"EAN13"_qs, u"12345"_qs, dir.filePath(u"bad.png"_qs)});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY(!QFile::exists(dir.filePath(u"bad.png"_qs)));
    }
};

QTEST_MAIN(TestBarcodeDecode)
#include "tst_barcodedecode.moc"
