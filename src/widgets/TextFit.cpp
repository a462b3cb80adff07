#include "widgets/TextFit.h"

#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace corvale {

namespace {
// Qt keeps two pixels clear on either side of a line edit's text and one for
// the cursor after it.
constexpr int lineEditTextMargin = 2;
constexpr int cursorWidth = 1;
} // namespace

int TextFit::lineEditWidth(const QLineEdit *box, const QString &longest) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.rect = box->rect();
    option.lineWidth =
        box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QMargins margins = box->textMargins();
    const int text = box->fontMetrics().horizontalAdvance(longest) + 2 * lineEditTextMargin +
                     cursorWidth + margins.left() + margins.right();
    const QSize contents(text, box->fontMetrics().height());
    const QSize outer = box->style()->sizeFromContents(QStyle::CT_LineEdit, &option, contents, box);
    // The frame as the style draws it, whatever sizeFromContents adds to it.
    const QRect inner = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const int frame = box->width() - inner.width();
    return std::max(outer.width(), text + frame);
}

void TextFit::fitLineEdit(QLineEdit *box, const QString &longest) {
    box->setFixedWidth(lineEditWidth(box, longest));
}

void TextFit::fitLabel(QLabel *label, const QString &longest) {
    const int frame = 2 * label->frameWidth() + 2 * label->margin() + 4;
    label->setMinimumWidth(
        std::max(label->minimumWidth(), label->fontMetrics().horizontalAdvance(longest) + frame));
}

} // namespace corvale
