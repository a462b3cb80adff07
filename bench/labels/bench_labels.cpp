// Measures the label printouts of 200 labels (50 rows of the label list, four
// labels each) written to PDF, on sheets of 10 x 4 and on a label printer:
//   bench_labels [RUNS]
// Prints one Markdown table with the best and the median of the runs.
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "labels/LabelLayout.h"
#include "labels/LabelOptions.h"
#include "labels/LabelPrinting.h"
#include "platform/Clock.h"
#include "platform/ScriptedPrompter.h"
#include "printing/PrintJob.h"
#include "printing/PrintService.h"
#include "schema/DataFolderSchema.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace corvale;

namespace {

constexpr int rows = 50;
constexpr int labelsPerRow = 4;

// Prints what it is handed straight into a PDF file, as the preview's
// "save as PDF" does.
class PdfPrintService : public PrintService {
public:
    explicit PdfPrintService(QString file)
        : m_file(std::move(file)) {}
    bool print(const QString &title, const PrintDocument &document, int) override {
        PrintJob job(document, title);
        const bool ok = job.printToPdf(m_file);
        pages = job.pageCount();
        return ok;
    }
    int pages = 0;

private:
    QString m_file;
};

void fillList(Shop &shop) {
    db::Table t(shop.database());
    t.setTableName(sheet::table);
    t.open();
    t.emptyTable();
    for (int r = 1; r <= rows; ++r) {
        t.append();
        const QString code = CommonRoutines::EanCheckDigit(
            QStringLiteral("8%1%2%3").arg(r, 5, 10, QLatin1Char('0')).arg(101).arg(100 + r % 20));
        t.setString(sheet::BARCODE, code);
        t.setString(sheet::DESCRIZION, QStringLiteral("GIACCA DI PROVA %1").arg(r));
        t.setString(sheet::MARCHIO, QStringLiteral("MARCA"));
        t.setString(sheet::COLORE, QStringLiteral("BLU NOTTE"));
        t.setString(sheet::CTAGLIA, QString::number(38 + 2 * (r % 8)));
        t.setFloat(sheet::PRZVND, 19.9 + r);
        t.setFloat(sheet::SCONTO, r % 3 == 0 ? 20 : 0);
        t.setInteger(sheet::LABELS, labelsPerRow);
        t.post();
    }
}

struct Figures {
    double best = 0;
    double median = 0;
    int pages = 0;
    qint64 bytes = 0;
};

Figures measure(Shop &shop, ScriptedPrompter &prompter, const QString &pdf, bool labelPrinter,
                int runs) {
    auto service = std::make_unique<PdfPrintService>(pdf);
    PdfPrintService &printed = *service;
    shop.setPrintService(std::move(service));
    LabelOptions options;
    options.labelPrinter = labelPrinter;
    options.discountedPrice = true;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        db::Table list(shop.database());
        list.setTableName(sheet::table);
        list.open();
        if (!labelPrinter)
            prompter.expectInput(QStringLiteral("Riga di partenza"), {}, QStringLiteral("1"))
                .expectInput(QStringLiteral("Colonna di partenza"), {}, QStringLiteral("1"));
        QElapsedTimer t;
        t.start();
        LabelPrinting(shop).print(list, options, LabelLayout());
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2], printed.pages, QFileInfo(pdf).size()};
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const int runs = std::max(1, argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 5);
    QTemporaryDir dir;
    ProgramFolder folder(dir.path());
    folder.prepare();
    Clock clock(QDate(2026, 6, 15));
    ScriptedPrompter prompter;
    Shop shop(folder, clock, prompter);
    shop.setTableLayouts(allTableLayouts());
    shop.openDatabase();
    fillList(shop);

    const Figures sheet =
        measure(shop, prompter, dir.filePath(QStringLiteral("sheet.pdf")), false, runs);
    const Figures roll =
        measure(shop, prompter, dir.filePath(QStringLiteral("roll.pdf")), true, runs);
    std::printf("| %d labels to PDF (%d runs) | best ms | median ms | pages | KiB |\n"
                "|---|---|---|---|---|\n",
                rows * labelsPerRow, runs);
    std::printf("| sheets of 10 x 4 | %.0f | %.0f | %d | %lld |\n", sheet.best, sheet.median,
                sheet.pages, sheet.bytes / 1024);
    std::printf("| label printer, one a page | %.0f | %.0f | %d | %lld |\n", roll.best, roll.median,
                roll.pages, roll.bytes / 1024);
    return prompter.done() ? 0 : 1;
}
