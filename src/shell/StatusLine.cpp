#include "shell/StatusLine.h"

#include <QLabel>
#include <QStyle>

#include <algorithm>

namespace corvale {

namespace {
// Between two panels, as the status bar of the shop's system leaves it.
constexpr int gap = 2;
// A wrapping panel keeps room for a word of its text per line.
constexpr int wrapMinimum = 120;
} // namespace

StatusLine::StatusLine(QWidget *parent)
    : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QLabel *StatusLine::addPanel(int width, Qt::Alignment alignment, bool wraps) {
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("StatusPanel%1").arg(m_panels.size()));
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setWordWrap(wraps);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    m_panels << Panel{label, width, wraps};
    arrange();
    return label;
}

void StatusLine::setText(int index, const QString &text) {
    if (QLabel *label = panel(index)) {
        label->setText(text);
        arrange();
    }
}

int StatusLine::textWidth(const Panel &p) const {
    if (p.wraps || p.label->text().isEmpty())
        return 0;
    const int frame = 2 * p.label->frameWidth() + 2 * p.label->margin() + 4;
    return p.label->fontMetrics().horizontalAdvance(p.label->text()) + frame;
}

QSize StatusLine::sizeHint() const {
    int width = 0;
    for (const Panel &p : m_panels)
        width += std::max(p.width, textWidth(p)) + gap;
    return {width, m_height};
}

QSize StatusLine::minimumSizeHint() const {
    int width = 0;
    for (const Panel &p : m_panels)
        width += textWidth(p) + (p.wraps ? wrapMinimum : 0) + gap;
    return {width, m_height};
}

void StatusLine::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    arrange();
}

void StatusLine::arrange() {
    QList<int> widths;
    int total = 0;
    for (const Panel &p : m_panels) {
        widths << std::max(p.width, textWidth(p));
        total += widths.last() + gap;
    }
    // Too narrow: the empty panels give way, then the wrapping ones.
    int excess = total - width();
    for (int pass = 0; pass < 2 && excess > 0; ++pass) {
        for (int i = 0; i < m_panels.size() && excess > 0; ++i) {
            const Panel &p = m_panels[i];
            const bool yields = pass == 0 ? p.label->text().isEmpty() && !p.wraps : p.wraps;
            if (!yields)
                continue;
            const int least = p.wraps ? wrapMinimum : 0;
            const int cut = std::min(excess, std::max(0, widths[i] - least));
            widths[i] -= cut;
            excess -= cut;
        }
    }
    int height = fontMetrics().height() + 4;
    for (int i = 0; i < m_panels.size(); ++i)
        if (m_panels[i].wraps)
            height = std::max(height, m_panels[i].label->heightForWidth(widths[i]));
    int x = 0;
    for (int i = 0; i < m_panels.size(); ++i) {
        m_panels[i].label->setGeometry(x, 0, widths[i], height);
        m_panels[i].label->setVisible(widths[i] > 0);
        x += widths[i] + gap;
    }
    if (height != m_height) {
        m_height = height;
        setFixedHeight(height);
        updateGeometry();
    }
}

} // namespace corvale
