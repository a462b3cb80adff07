#include "documents/DocumentWindow.h"

#include "shell/CentralPanel.h"
#include "widgets/OpenerWindow.h"

namespace corvale {

DocumentWindow::DocumentWindow(QWidget *parent)
    : QWidget(parent) {
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAutoFillBackground(true);
}

void DocumentWindow::place(QWidget *window, QWidget *panel) {
    if (auto *central = qobject_cast<CentralPanel *>(panel)) {
        central->showWindow(window);
        return;
    }
    if (panel) {
        if (window->parentWidget() != panel)
            window->setParent(panel, Qt::Widget);
        window->setGeometry(panel->rect());
    }
    window->show();
    window->raise();
}

void DocumentWindow::finish() {
    hide();
    notifyOpener(1);
}

void DocumentWindow::notifyOpener(int code) {
    if (m_opener)
        m_opener->receiveNotification(code);
    Q_EMIT notified(code);
}

} // namespace corvale
