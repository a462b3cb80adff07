#pragma once

#include "printing/PrintJob.h"
#include "printing/RecordingCanvas.h"

#include <QList>
#include <QString>
#include <memory>

class QWidget;

namespace corvale {

// How a window hands a printout over: the running program shows a print
// preview from which the shop prints; tests record the pages instead.
class PrintService {
public:
    virtual ~PrintService() = default;
    // Prints `copies` copies of `document`, each a job of its own. False when
    // nothing was printed (cancelled in the preview, or the printer failed);
    // `errorText()` tells a failure from a cancel.
    virtual bool print(const QString &title, const PrintDocument &document, int copies = 1) = 0;
    virtual QString errorText() const { return {}; }
};

// The program's printing: a preview of the document at 600 dpi; printing
// from it sends the first copy, the other copies follow as separate jobs on
// the printer chosen there.
class PreviewPrintService : public PrintService {
public:
    explicit PreviewPrintService(QWidget *parent = nullptr)
        : m_parent(parent) {}
    bool print(const QString &title, const PrintDocument &document, int copies = 1) override;
    QString errorText() const override { return m_error; }

private:
    QWidget *m_parent;
    QString m_error;
};

// Keeps every printed copy on a recording canvas, for tests.
class RecordingPrintService : public PrintService {
public:
    struct Job {
        QString title;
        std::shared_ptr<RecordingCanvas> canvas;
    };
    bool print(const QString &title, const PrintDocument &document, int copies = 1) override;

    const QList<Job> &jobs() const { return m_jobs; }
    void clear() { m_jobs.clear(); }

private:
    QList<Job> m_jobs;
};

} // namespace corvale
