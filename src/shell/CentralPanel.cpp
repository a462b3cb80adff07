#include "shell/CentralPanel.h"

#include <QPainter>

namespace corvale {

CentralPanel::CentralPanel(QWidget *parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("CentralPanel"));
}

void CentralPanel::setBackground(const QImage &picture) {
    m_background = picture;
    update();
}

void CentralPanel::showWindow(QWidget *window) {
    if (window->parentWidget() != this)
        window->setParent(this, Qt::Widget);
    if (!m_windows.contains(window))
        m_windows << window;
    window->setGeometry(rect());
    window->show();
    window->raise();
}

QList<QWidget *> CentralPanel::windows() const {
    QList<QWidget *> out;
    for (const auto &w : m_windows) {
        if (w)
            out << w;
    }
    return out;
}

void CentralPanel::paintEvent(QPaintEvent *) {
    QPainter p(this);
    if (m_background.isNull())
        p.fillRect(rect(), palette().window());
    else
        p.drawImage(rect(), m_background);
}

void CentralPanel::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    for (QWidget *w : windows())
        w->setGeometry(rect());
    Q_EMIT resized();
}

} // namespace corvale
