#pragma once

#include "common/RecordingOpener.h"
#include "documents/DocumentWindow.h"
#include "shell/Shop.h"

#include <QWidget>

namespace testing {

// The main window's central panel, shown before anything is placed in it.
struct ShownPanel {
    QWidget panel;
    ShownPanel() {
        panel.resize(1000, 700);
        panel.show();
    }
};

// An archive window placed in the panel as the program places it; the
// archive reports to `hub`.
template <typename Archive> struct ArchiveInPanel : ShownPanel {
    RecordingOpener hub;
    Archive w;

    explicit ArchiveInPanel(corvale::Shop &shop)
        : w(shop, &panel) {
        w.setOpener(&hub);
        corvale::DocumentWindow::place(&w, &panel);
    }
};

} // namespace testing
