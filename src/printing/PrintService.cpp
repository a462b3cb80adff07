#include "printing/PrintService.h"

#include "printing/PrintPreview.h"

namespace corvale {

bool PreviewPrintService::print(const QString &title, const PrintDocument &document, int copies) {
    m_error.clear();
    if (copies <= 0)
        return false;
    PrintJob job(document, title);
    if (!PrintPreview::show(job, m_parent)) {
        m_error = job.errorText();
        return false;
    }
    if (copies > 1 && !job.print(copies - 1)) {
        m_error = job.errorText();
        return false;
    }
    return true;
}

bool RecordingPrintService::print(const QString &title, const PrintDocument &document, int copies) {
    for (int i = 0; i < copies; ++i) {
        auto canvas = std::make_shared<RecordingCanvas>();
        document(*canvas);
        m_jobs << Job{title, canvas};
    }
    return copies > 0;
}

} // namespace corvale
