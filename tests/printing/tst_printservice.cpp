#include "printing/PrintService.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

using namespace corvale;

namespace {

void twoPages(PageCanvas &canvas) {
    canvas.textOut(100, 100, QStringLiteral("PAGINA 1"));
    canvas.newPage();
    canvas.textOut(100, 100, QStringLiteral("SEGUE"));
}

} // namespace

class TestPrintService : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordingKeepsEveryCopy() {
        RecordingPrintService service;
        QVERIFY(service.print(QStringLiteral("Scontrino"), twoPages, 3));
        QCOMPARE(service.jobs().size(), 3);
        for (const auto &job : service.jobs()) {
            QCOMPARE(job.title, QStringLiteral("Scontrino"));
            QCOMPARE(job.canvas->pageCount(), 2);
            QVERIFY(job.canvas->findText(QStringLiteral("SEGUE"), 2));
        }
        QVERIFY(!service.print(QStringLiteral("nessuna"), twoPages, 0));
        QCOMPARE(service.jobs().size(), 3);
    }

    void previewClosedPrintsNothing() {
        PreviewPrintService service;
        int renders = 0;
        bool shown = false;
        QTimer::singleShot(200, [&] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                shown = true;
                dialog->reject();
            }
        });
        const bool printed = service.print(
            QStringLiteral("Prova"),
            [&](PageCanvas &canvas) {
                ++renders;
                twoPages(canvas);
            },
            2);
        QVERIFY(shown);
        QVERIFY(!printed);
        QVERIFY(service.errorText().isEmpty()); // a cancel is not a failure
        QVERIFY(renders >= 1);                  // the preview drew the document
    }
};

QTEST_MAIN(TestPrintService)
#include "tst_printservice.moc"
