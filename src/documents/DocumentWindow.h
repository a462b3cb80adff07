#pragma once

#include <QWidget>

namespace corvale {

class OpenerWindow;

// What every document and archive window does with the window that opened it:
// when it is done (saved, cancelled, left) it hides and notifies its opener,
// through the opener's interface and through the signal `notified`, code 1
// meaning "refresh your lists". And how such a window is placed: borderless,
// at the top-left of the main window's central panel, with its size.
class DocumentWindow : public QWidget {
    Q_OBJECT
public:
    explicit DocumentWindow(QWidget *parent = nullptr);

    void setOpener(OpenerWindow *opener) { m_opener = opener; }
    OpenerWindow *opener() const { return m_opener; }

    // Makes `window` a borderless child of `panel` covering it (through the
    // central panel's own placement when `panel` is one) and shows it on top.
    static void place(QWidget *window, QWidget *panel);

Q_SIGNALS:
    void notified(int code);

protected:
    // Hides the window and notifies the opener.
    void finish();
    void notifyOpener(int code = 1);

private:
    OpenerWindow *m_opener = nullptr;
};

} // namespace corvale
