#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
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

// The width of text a line edit shows at its present size: its contents
// less the style's frame, the text margins and the two pixels Qt keeps clear
// on either side of the text.
inline int textRoom(const QLineEdit *box) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->rect();
    option.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QMargins margins = box->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * 2;
}

// True when the control lies wholly inside its window, where it can be seen.
inline bool insideWindow(const QWidget *w) {
    const QRect r(w->mapTo(w->window(), QPoint(0, 0)), w->size());
    return w->isVisible() && w->window()->rect().contains(r);
}

// True when the box shows `text` whole at its present size and place.
inline bool showsWhole(const QLineEdit *box, const QString &text) {
    return insideWindow(box) && box->fontMetrics().horizontalAdvance(text) <= textRoom(box);
}

// True when a label, check box or button has the width its text asks for.
inline bool showsWhole(const QWidget *w) {
    return insideWindow(w) && w->width() >= w->sizeHint().width();
}

} // namespace testing
