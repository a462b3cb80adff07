#pragma once

#include <QDialog>

namespace corvale {

// Shows a borderless archive window modally: the window sits in a dialog of
// its own laid over the work area, and the dialog ends when the window hides
// itself ("Uscita"), so nothing else of the program can be used meanwhile.
class ModalHost : public QDialog {
    Q_OBJECT
public:
    ModalHost(QWidget *window, QWidget *parent);

    // Covers `area` (global coordinates) and runs until the window hides.
    void run(const QRect &area);
    QWidget *window() const { return m_window; }

    // Only the window's own "Uscita" ends it, so its tables are always closed.
    void reject() override {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
};

} // namespace corvale
