#include "widgets/FocusHighlighter.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace corvale {

namespace {

const char *const kSavedPalette = "corvaleSavedPalette";

} // namespace

FocusHighlighter::FocusHighlighter(QWidget *window)
    : QObject(window) {}

FocusHighlighter *FocusHighlighter::install(QWidget *window) {
    auto *h = window->findChild<FocusHighlighter *>(QString(), Qt::FindDirectChildrenOnly);
    if (h)
        return h;
    h = new FocusHighlighter(window);
    // Focus events reach the application before the widget; filtering there
    // covers controls created after install() too, limited to this window.
    qApp->installEventFilter(h);
    return h;
}

bool FocusHighlighter::isEditBox(const QWidget *w) {
    if (qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
        qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTextEdit *>(w))
        return true;
    const auto *combo = qobject_cast<const QComboBox *>(w);
    return combo && combo->isEditable();
}

bool FocusHighlighter::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    auto *window = qobject_cast<QWidget *>(parent());
    if (!w || !window || !isEditBox(w) || !window->isAncestorOf(w))
        return false;
    // A line edit inside a spin box or combo box colours its owner instead.
    if (w->parentWidget() && isEditBox(w->parentWidget()))
        return false;
    if (event->type() == QEvent::FocusIn) {
        if (!w->property(kSavedPalette).isValid())
            w->setProperty(kSavedPalette, QVariant::fromValue(w->palette()));
        QPalette pal = w->palette();
        pal.setColor(QPalette::Base, focusColor());
        w->setPalette(pal);
    } else {
        const QVariant saved = w->property(kSavedPalette);
        if (saved.isValid()) {
            w->setPalette(saved.value<QPalette>());
            w->setProperty(kSavedPalette, QVariant());
        }
    }
    return false;
}

} // namespace corvale
