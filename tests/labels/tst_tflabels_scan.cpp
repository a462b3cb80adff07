#include "common/ShopFixture.h"
#include "common/Widgets.h"

#include "catalogue/CampaignBook.h"
#include "catalogue/PriceHistory.h"
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
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of a PDF, as a reader copies it out.
QString pdfText(const QString &pdf) {
    return run(u"pdftotext"_qs, {u"-enc"_qs, u"UTF-8"_qs, pdf, u"-"_qs});
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
        QVERIFY2(!QStandardPaths::findExecutable(u"pdftotext"_qs).isEmpty(),
                 "pdftotext (poppler-utils) is needed: run scripts/setup");
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

    // Labels printed for a campaign's first day, in each layout, with or
    // without the discounted price asked: the text read from the PDF carries
    // the previous price, the reduction and the new price on every label of
    // the campaign's article and on no other.
    void campaignLabelsReadFromThePdf_data() {
        QTest::addColumn<bool>("labelPrinter");
        QTest::addColumn<bool>("discounted");
        QTest::newRow("sheet") << false << false;
        QTest::newRow("sheet, discounted price") << false << true;
        QTest::newRow("label printer") << true << false;
        QTest::newRow("label printer, discounted price") << true << true;
    }
    void campaignLabelsReadFromThePdf() {
        QFETCH(bool, labelPrinter);
        QFETCH(bool, discounted);
        ShopFixture f;
        auto service = std::make_unique<KeptPrintService>();
        KeptPrintService &kept = *service;
        f.shop->setPrintService(std::move(service));
        for (int key : {1, 2})
            f.add(u"ARTICOLI"_qs, {{u"NUMREG"_qs, key},
                                   {u"DESCRIZION"_qs, u"GIACCA"_qs},
                                   {u"PREZZOVND"_qs, 79.9},
                                   {u"SCONTO"_qs, 10.0},
                                   {u"N_CAT"_qs, key}});
        PriceHistory(f.db()).record(1, QDate(2026, 1, 1), 79.9, 0, PriceHistory::cardCause());
        Campaign c;
        c.name = u"SALDI ESTIVI"_qs;
        c.first = QDate(2026, 7, 4);
        c.last = QDate(2026, 8, 31);
        c.selection = CampaignSelection::Category;
        c.value = 1;
        c.percent = 30;
        CampaignBook(f.db()).save(c);
        const QStringList codes{u"8000011011011"_qs, u"8000421031050"_qs};
        addListRow(f, codes[0], 2);
        addListRow(f, codes[1], 1);
        {
            db::Table list(f.db());
            list.setTableName(u"ELEMENTI"_qs);
            list.open();
            qint64 key = 1;
            for (list.first(); !list.eof(); list.next()) {
                list.edit();
                list.setInteger(u"CODICE"_qs, key++);
                list.post();
            }
        }

        TFLabels w(*f.shop);
        w.setPriceDay(c.first);
        w.show();
        if (labelPrinter)
            testing::child<QCheckBox>(w, "Usa Etichettatrice")->click();
        else
            f.prompter.expectInput(u"Riga di partenza"_qs, {}, u"1"_qs)
                .expectInput(u"Colonna di partenza"_qs, {}, u"1"_qs);
        if (discounted)
            testing::child<QCheckBox>(w, "Prezzo scontato")->click();
        testing::click(w, "Stampa");
        QVERIFY(f.prompter.done());
        QCOMPARE(kept.documents.size(), 1);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"labels.pdf"_qs);
        PrintJob job(kept.documents[0]);
        QVERIFY(job.printToPdf(pdf));
        const QString text = pdfText(pdf);
        const QString reduction =
            u"Prezzo precedente € 79,90 "_qs + QChar(0x2212) + u"30% € 55,93"_qs;
        QVERIFY2(text.count(reduction) == 2, qPrintable(text));
        QCOMPARE(text.count(u"Prezzo precedente"_qs), 2);
        // The label outside the campaign keeps the list's price, 59,90 less 10 %
        // when the discounted price is asked.
        QVERIFY2(text.contains(u"€ 59,90"_qs), qPrintable(text));
        QCOMPARE(text.contains(u"€ 53,91"_qs), discounted);
        w.BUscitaClick();
    }
};

QTEST_MAIN(TestTFLabelsScan)
#include "tst_tflabels_scan.moc"
