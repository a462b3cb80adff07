#include "printing/PrintJob.h"

#include "printing/QPainterCanvas.h"

#include <QPainter>
#include <QPrinter>

namespace corvale {

namespace {

void prepare(QPrinter &printer, const QString &title) {
    printer.setResolution(PrintJob::Resolution);
    printer.setFullPage(false);
    if (!title.isEmpty())
        printer.setDocName(title);
}

} // namespace

PrintJob::PrintJob(PrintDocument document, const QString &title)
    : document_(std::move(document))
    , title_(title) {}

PrintJob::~PrintJob() = default;

QPrinter &PrintJob::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        prepare(*printer_, title_);
    }
    return *printer_;
}

bool PrintJob::render(QPrinter &printer) {
    error_.clear();
    pages_ = 0;
    if (printer.resolution() != Resolution)
        printer.setResolution(Resolution);
    QPainter painter;
    if (!painter.begin(&printer)) {
        error_ = QStringLiteral("Impossibile avviare la stampa su \"%1\"")
                     .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                             : printer.outputFileName());
        return false;
    }
    QPainterCanvas canvas(painter);
    if (document_)
        document_(canvas);
    pages_ = canvas.pageNumber();
    const bool ended = painter.end();
    if (!ended || printer.printerState() == QPrinter::Error) {
        error_ = QStringLiteral("Errore di stampa");
        return false;
    }
    return true;
}

bool PrintJob::print(int copies) {
    QPrinter &p = printer();
    p.setOutputFormat(QPrinter::NativeFormat);
    p.setCopyCount(1);
    for (int i = 0; i < copies; ++i)
        if (!render(p))
            return false;
    return true;
}

bool PrintJob::printToPdf(const QString &fileName) {
    QPrinter pdf(QPrinter::HighResolution);
    prepare(pdf, title_);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(fileName);
    if (printer_)
        pdf.setPageLayout(printer_->pageLayout());
    return render(pdf);
}

} // namespace corvale
