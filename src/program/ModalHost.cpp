#include "program/ModalHost.h"

#include <QEvent>
#include <QVBoxLayout>

namespace corvale {

ModalHost::ModalHost(QWidget *window, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_window(window) {
    setObjectName(window->objectName() + QStringLiteral("Host"));
    setWindowTitle(window->windowTitle());
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    window->setParent(this, Qt::Widget);
    layout->addWidget(window);
    window->installEventFilter(this);
}

void ModalHost::run(const QRect &area) {
    setGeometry(area);
    m_window->show();
    exec();
}

bool ModalHost::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_window && event->type() == QEvent::Hide && isVisible() && m_window->isHidden())
        accept();
    return QDialog::eventFilter(watched, event);
}

} // namespace corvale
