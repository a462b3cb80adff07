#pragma once

#include "printing/PageCanvas.h"

#include <QString>
#include <functional>
#include <memory>

class QPrinter;

namespace corvale {

// A printout: draws every page on the canvas it is given, calling newPage()
// between pages.
using PrintDocument = std::function<void(PageCanvas &)>;

// Prints a document at 600 dpi on the system's printer, into a PDF file or
// into a print preview (PrintPreview shows it). The printer keeps its
// settings between runs, so a set-up dialog shown on printer() applies to
// the next print().
class PrintJob {
public:
    static constexpr int Resolution = 600;

    explicit PrintJob(PrintDocument document, const QString &title = {});
    ~PrintJob();
    PrintJob(const PrintJob &) = delete;
    PrintJob &operator=(const PrintJob &) = delete;

    // The printer the job prints on: the system's default one at first.
    QPrinter &printer();

    // Prints on the printer; `copies` copies are sent as separate jobs, each
    // with all the pages. False (with errorText()) when a job cannot start.
    bool print(int copies = 1);
    // Writes the document as a PDF file.
    bool printToPdf(const QString &fileName);
    // Draws the document on a printer already set up by the caller (the
    // preview's own printer, a printer chosen in a dialog).
    bool render(QPrinter &printer);

    QString errorText() const { return error_; }
    // Pages of the last run.
    int pageCount() const { return pages_; }

private:
    PrintDocument document_;
    QString title_;
    std::unique_ptr<QPrinter> printer_;
    QString error_;
    int pages_ = 0;
};

} // namespace corvale
