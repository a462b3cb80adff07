#include "printing/PrintJob.h"
#include "printing/PrintPreview.h"
#include "printing/QPainterCanvas.h"
#include "printing/RecordingCanvas.h"

#include <QApplication>
#include <QDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace corvale;

namespace {

QString run(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>")
            .arg(program, QString::fromLocal8Bit(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestPrintJob : public QObject {
    Q_OBJECT
private slots:
    void twoPagesThroughThePdfBackend() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString pdf = dir.filePath(u"doc.pdf"_qs);
        int width = 0, dpi = 0, measured = 0, lineHeight = 0;
        bool printerPage = false;
        PrintJob job(
            [&](PageCanvas &c) {
                width = c.pageWidth();
                dpi = c.resolution();
                printerPage = c.isPrinterPage();
                c.setFontSize(14);
                c.setBold(true);
                c.textOut(0, 0, u"FATTURA N. 17"_qs);
                c.setBold(false);
                c.setFontSize(10);
                const int line = c.textHeight(u"X"_qs);
                lineHeight = line;
                measured = c.textWidth(u"Camicia lino € 49,90"_qs);
                c.textOut(0, 3 * line, u"Camicia lino € 49,90"_qs);
                c.rectangle(0, 5 * line, c.pageWidth(), 7 * line);
                c.textOut(c.pageWidth() / 2, 5 * line + 10, u"SEGUE"_qs);
                c.newPage();
                c.textOut(200, 200, u"Totale pagina due"_qs);
            },
            u"Prova"_qs);
        QVERIFY2(job.printToPdf(pdf), qPrintable(job.errorText()));
        QCOMPARE(job.pageCount(), 2);
        QCOMPARE(dpi, 600);
        QVERIFY(printerPage);
        QVERIFY(width > 4000 && width < 5100); // A4 or Letter, printable part
        // What tests measure on the recording canvas is what the printer measures.
        RecordingCanvas recording;
        recording.setFontSize(10);
        QCOMPARE(measured, recording.textWidth(u"Camicia lino € 49,90"_qs));
        QCOMPARE(lineHeight, recording.textHeight(u"X"_qs));

#ifdef Q_OS_WIN
        QSKIP("il PDF si rilegge con pdfinfo e pdftotext (poppler) nella build Linux");
#endif
        QVERIFY(run(u"pdfinfo"_qs, {pdf}).contains(QRegularExpression(u"Pages:\\s+2\\b"_qs)));
        const QString first =
            run(u"pdftotext"_qs, {u"-f"_qs, u"1"_qs, u"-l"_qs, u"1"_qs, pdf, u"-"_qs});
        const QString second =
            run(u"pdftotext"_qs, {u"-f"_qs, u"2"_qs, u"-l"_qs, u"2"_qs, pdf, u"-"_qs});
        QVERIFY2(first.contains(u"FATTURA N. 17"_qs), qPrintable(first));
        QVERIFY2(first.contains(u"Camicia lino € 49,90"_qs), qPrintable(first));
        QVERIFY(first.contains(u"SEGUE"_qs));
        QVERIFY(!first.contains(u"Totale pagina due"_qs));
        QVERIFY2(second.contains(u"Totale pagina due"_qs), qPrintable(second));
    }

    void previewDrawsEveryPage() {
        int runs = 0, pages = 0, dpi = 0;
        PrintJob job([&](PageCanvas &c) {
            ++runs;
            dpi = c.resolution();
            c.textOut(0, 0, u"uno"_qs);
            c.newPage();
            c.textOut(0, 0, u"due"_qs);
            pages = 2;
        });
        // Close the preview once it is up; it has drawn the document by then.
        QTimer::singleShot(200, this, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        QVERIFY(!PrintPreview::show(job));
        QVERIFY(runs >= 1);
        QCOMPARE(pages, 2);
        QCOMPARE(dpi, 600);
    }

    void unwritablePdfIsReportedNotSwallowed() {
        PrintJob job([](PageCanvas &c) { c.textOut(0, 0, u"x"_qs); });
        QVERIFY(!job.printToPdf(u"/nonexistent-folder/x/out.pdf"_qs));
        QVERIFY(!job.errorText().isEmpty());
    }
};

QTEST_MAIN(TestPrintJob)
#include "tst_printjob.moc"
