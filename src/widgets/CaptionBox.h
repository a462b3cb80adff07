#pragma once

#include <QGroupBox>
#include <QImage>

namespace corvale {

// A captioned panel drawn on the "bkgd.BMP" picture, as every window groups
// its controls. The caption is the group box's title.
class CaptionBox : public QGroupBox {
    Q_OBJECT
public:
    explicit CaptionBox(const QString &caption = {}, QWidget *parent = nullptr);

    void setBackground(const QString &path);
    void setBackground(const QImage &picture);
    const QImage &background() const { return m_background; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_background;
};

} // namespace corvale
