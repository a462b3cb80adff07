#include "common/ShopFixture.h"
#include "common/Widgets.h"

#include "labels/TFLabels.h"
#include "printing/PrintJob.h"
#include "printing/PrintService.h"

#include <QCheckBox>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace corvale;

namespace {

// Keeps the printout the window hands over, to print it where the test wants.
class KeptPrintService : public PrintService {
public:
    bool print(const QString &, const PrintDocument &document, int) override {
        documents << document;
        return true;
    }
    QList<PrintDocument> documents;
};

QString run(const QString &program, const QStringList &arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(120000))
        return u"<%1 did not finish>"_qs.arg(program);
    return QString::fromLatin1(p.readAllStandardOutput());
}

// The EAN-13 codes a scanner reads from each page of a PDF, page by page
// (a code printed twice on a page is read once).
QList<QStringList> scanPdf(const QString &pdf, const QString &folder) {
    const QString prefix = QDir(folder).filePath(u"page"_qs);
    run(u"pdftoppm"_qs, {u"-r"_qs, u"300"_qs, u"-gray"_qs, u"-png"_qs, pdf, prefix});
    QStringList pages = QDir(folder).entryList({u"page*.png"_qs}, QDir::Files, QDir::Name);
    QList<QStringList> out;
    for (const QString &page : pages) {
        QStringList codes = run(u"zbarimg"_qs, {u"-q"_qs, u"--raw"_qs, u"-Sdisable"_qs,
                                                u"-Sean13.enable"_qs, QDir(folder).filePath(page)})
                                .split(u'\n', Qt::SkipEmptyParts);
        codes.sort();
        codes.removeDuplicates();
        out << codes;
    }
    return out;
}

void addListRow(ShopFixture &f, const QString &barcode, int labels) {
    f.add(QStringLiteral("ELEMENTI"), {{QStringLiteral("BARCODE"), barcode},
                                       {QStringLiteral("DESCRIZION"), u"GIACCA "_qs + barcode},
                                       {QStringLiteral("MARCHIO"), QStringLiteral("MARCA")},
                                       {QStringLiteral("COLORE"), QStringLiteral("NERO")},
                                       {QStringLiteral("CTAGLIA"), QStringLiteral("42")},
                                       {QStringLiteral("PRZVND"), 59.9},
                                       {QStringLiteral("SCONTO"), 10},
                                       {QStringLiteral("LABELS"), labels}});
}

} // namespace

class TestTFLabelsScan : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable(u"zbarimg"_qs).isEmpty(),
                 "zbarimg (zbar-tools) is needed: run scripts/setup");
        QVERIFY2(!QStandardPaths::findExecutable(u"pdftoppm"_qs).isEmpty(),
                 "pdftoppm (poppler-utils) is needed: run scripts/setup");
    }

    // Line barcodes as the receipt writes them, printed by the window through
    // its barcode control into a PDF, read back by a scanner.
    void printedLabelsScan() {
        ShopFixture f;
        auto service = std::make_unique<KeptPrintService>();
        KeptPrintService &kept = *service;
        f.shop->setPrintService(std::move(service));
        const QStringList codes{u"8000011011011"_qs, u"8000421031050"_qs, u"8012345102204"_qs};
        addListRow(f, codes[0], 2);
        addListRow(f, codes[1], 1);
        addListRow(f, u"SENZA CODICE"_qs, 1);
        addListRow(f, codes[2], 3);

        TFLabels w(*f.shop);
        w.show();
        testing::child<QCheckBox>(w, "Prezzo scontato")->click();
        f.prompter.expectInput(u"Riga di partenza"_qs, {}, u"2"_qs)
            .expectInput(u"Colonna di partenza"_qs, {}, u"1"_qs);
        testing::click(w, "Stampa");
        testing::child<QCheckBox>(w, "Usa Etichettatrice")->click();
        testing::click(w, "Stampa");
        QVERIFY(f.prompter.done());
        QCOMPARE(kept.documents.size(), 2);

        QTemporaryDir sheetDir;
        const QString sheetPdf = sheetDir.filePath(u"sheet.pdf"_qs);
        PrintJob sheetJob(kept.documents[0]);
        QVERIFY(sheetJob.printToPdf(sheetPdf));
        QCOMPARE(sheetJob.pageCount(), 1);
        QCOMPARE(scanPdf(sheetPdf, sheetDir.path()), QList<QStringList>{codes});

        // One label a page: each page scans as its own code, in list order,
        // and the label without a numeric code scans as nothing.
        QTemporaryDir rollDir;
        const QString rollPdf = rollDir.filePath(u"roll.pdf"_qs);
        PrintJob rollJob(kept.documents[1]);
        QVERIFY(rollJob.printToPdf(rollPdf));
        QCOMPARE(rollJob.pageCount(), 7);
        const QList<QStringList> expectedPages{{codes[0]}, {codes[0]}, {codes[1]}, {},
                                               {codes[2]}, {codes[2]}, {codes[2]}};
        QCOMPARE(scanPdf(rollPdf, rollDir.path()), expectedPages);
        w.BUscitaClick();
    }
};

QTEST_MAIN(TestTFLabelsScan)
#include "tst_tflabels_scan.moc"
