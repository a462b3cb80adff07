#pragma once

#include <QWidget>

namespace corvale {

// A see-through layer over a window that shows the rectangle a barcode
// control is being moved or resized to.
class BarcodeDragOverlay : public QWidget {
    Q_OBJECT
public:
    explicit BarcodeDragOverlay(QWidget *parent);
    void setFrame(const QRect &frame);
    QRect frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect frame_;
};

} // namespace corvale
