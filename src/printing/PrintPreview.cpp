#include "printing/PrintPreview.h"

#include "printing/PrintJob.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace corvale {

bool PrintPreview::show(PrintJob &job, QWidget *parent) {
    QPrintPreviewDialog dialog(&job.printer(), parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&job](QPrinter *printer) { job.render(*printer); });
    return dialog.exec() == QDialog::Accepted;
}

bool PrintPreview::setup(PrintJob &job, QWidget *parent) {
    QPrintDialog dialog(&job.printer(), parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace corvale
