#pragma once

#include <QImage>
#include <QList>
#include <QPointer>
#include <QWidget>

namespace corvale {

// The main window's work area: a stretched background picture, the entry
// buttons, and the windows shown inside it, which always cover it from its
// top-left corner.
class CentralPanel : public QWidget {
    Q_OBJECT
public:
    explicit CentralPanel(QWidget *parent = nullptr);

    void setBackground(const QImage &picture);
    // Makes `window` a borderless child placed at the top-left with the
    // panel's size, and shows it on top.
    void showWindow(QWidget *window);
    QList<QWidget *> windows() const;

Q_SIGNALS:
    void resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QImage m_background;
    QList<QPointer<QWidget>> m_windows;
};

} // namespace corvale
