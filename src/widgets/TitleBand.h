#pragma once

#include <QImage>
#include <QWidget>

namespace corvale {

// The band at the top of every window: "top.BMP" stretched over the whole
// band, the heading centred on it in Arial bold red.
class TitleBand : public QWidget {
    Q_OBJECT
public:
    explicit TitleBand(const QString &heading = {}, QWidget *parent = nullptr);

    void setHeading(const QString &heading);
    QString heading() const { return m_heading; }
    // Loads the band picture; a missing or unreadable file leaves a plain band.
    void setPicture(const QString &path);
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }
    // Pixel height of the heading's letters (21 in the main window).
    void setHeadingPixelSize(int pixels);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_heading;
    QImage m_picture;
    int m_pixelSize = 21;
};

} // namespace corvale
