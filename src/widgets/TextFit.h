#pragma once

#include <QString>

class QLabel;
class QLineEdit;

namespace corvale {

// Widths that show a control's longest value whole, measured in the
// control's own font and style, so that a box never scrolls its value out
// of sight ("3,69" shown for 33,69) whatever the fonts of the system.
class TextFit {
public:
    // The width at which `box` shows `longest` without scrolling.
    static int lineEditWidth(const QLineEdit *box, const QString &longest);
    // Gives the box that width, no less and no more.
    static void fitLineEdit(QLineEdit *box, const QString &longest);
    // A label at least as wide as `longest` needs with its frame (and no
    // narrower than it already was).
    static void fitLabel(QLabel *label, const QString &longest);
};

} // namespace corvale
