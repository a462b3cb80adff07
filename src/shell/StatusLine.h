#pragma once

#include <QList>
#include <QWidget>

class QLabel;

namespace corvale {

// The main window's status line: panels side by side at their given widths,
// each panel at least as wide as its text. When the window is too narrow for
// the given widths, the empty panels give way first, then the panel that
// wraps (the shop's line), which goes onto more lines instead of cutting its
// text; the line grows as tall as that panel needs.
class StatusLine : public QWidget {
    Q_OBJECT
public:
    explicit StatusLine(QWidget *parent = nullptr);

    // A panel of the given width, named "StatusPanel" + its index. A wrapping
    // panel shows its whole text on as many lines as it needs.
    QLabel *addPanel(int width, Qt::Alignment alignment, bool wraps = false);
    QLabel *panel(int index) const { return m_panels.value(index).label; }
    void setText(int index, const QString &text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Panel {
        QLabel *label = nullptr;
        int width = 0;
        bool wraps = false;
    };
    // The narrowest a panel may be: its text's width for a plain panel.
    int textWidth(const Panel &p) const;
    void arrange();

    QList<Panel> m_panels;
    int m_height = 0;
};

} // namespace corvale
