#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>

// Finding and using a window's controls by their object names, as the tests of
// every window do.
namespace testing {

// The child control named `name`; the test stops when the window has none.
template <typename T = QWidget> T *child(const QObject &w, const QString &name) {
    T *c = w.findChild<T *>(name);
    if (!c)
        qFatal("no control named %s", qPrintable(name));
    return c;
}
template <typename T = QWidget> T *child(const QObject &w, const char *name) {
    return child<T>(w, QString::fromUtf8(name));
}

inline QPushButton *button(const QObject &w, const char *name) {
    return child<QPushButton>(w, name);
}
inline void click(const QObject &w, const char *name) {
    button(w, name)->click();
}

// Types into a box as the user does: the old text selected and replaced
// keystroke by keystroke.
inline void type(const QObject &w, const char *name, const QString &text) {
    auto *edit = child<QLineEdit>(w, name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

} // namespace testing
