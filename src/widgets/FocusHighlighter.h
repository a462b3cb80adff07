#pragma once

#include <QColor>
#include <QObject>

class QWidget;

namespace corvale {

// Paints the edit box that has the focus light yellow and gives it back its
// normal colour when the focus leaves. One call per window:
//     FocusHighlighter::install(this);
// covers every line edit, spin box, editable combo box and text box in it,
// including those added later.
class FocusHighlighter : public QObject {
    Q_OBJECT
public:
    static constexpr QColor focusColor() { return QColor(255, 255, 225); }

    static FocusHighlighter *install(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit FocusHighlighter(QWidget *window);
    static bool isEditBox(const QWidget *w);
};

} // namespace corvale
