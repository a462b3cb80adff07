#pragma once

class QWidget;

namespace corvale {

class PrintJob;

// The dialogs of printing: the one class of this folder that shows widgets.
class PrintPreview {
public:
    // Shows the document in a print preview from which the user can print.
    // True when the user printed from it.
    static bool show(PrintJob &job, QWidget *parent = nullptr);
    // The system's print dialog on the job's printer; true when accepted.
    static bool setup(PrintJob &job, QWidget *parent = nullptr);
};

} // namespace corvale
