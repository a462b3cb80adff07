#pragma once

#include "printing/PageCanvas.h"

#include <QFont>
#include <QPainter>
#include <functional>

namespace corvale {

// The page canvas over a QPainter on any paint device: a printer or PDF page,
// an image, a widget. Sizes and resolution are the device's; fonts are sized
// for that resolution. Shapes are drawn without antialiasing so that a bar
// of n dots is exactly n dots wide.
class QPainterCanvas : public PageCanvas {
public:
    // `newPageHandler`, when given, starts the next page; otherwise a printer
    // or PDF device is asked for one and any other device ignores newPage().
    explicit QPainterCanvas(QPainter &painter, std::function<void()> newPageHandler = {});

    int pageWidth() const override;
    int pageHeight() const override;
    int resolution() const override;
    int verticalResolution() const override;
    bool isPrinterPage() const override;
    // A printer page is recognised from the device; an image standing for a
    // printer page in a tool or test can be marked as one.
    void setPrinterPage(bool on) { printerPage_ = on; }

    void setFont(const CanvasFont &font) override;
    CanvasFont font() const override { return font_; }
    int textWidth(const QString &text) const override;
    int textHeight(const QString &text) const override;

    void setPen(const QColor &color, int width = 1) override;
    QColor penColor() const override { return penColor_; }
    int penWidth() const override { return penWidth_; }
    void setBrush(const QColor &color) override;
    void setBrushClear() override;
    QColor brushColor() const override { return brushColor_; }
    bool brushClear() const override { return brushClear_; }

    void textOut(int x, int y, const QString &text) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void rectangle(int x1, int y1, int x2, int y2) override;
    void roundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
    void fillRect(const QRect &rect, const QColor &color) override;
    void stretchDraw(const QRect &rect, const QImage &image) override;
    void newPage() override;

    int pageNumber() const { return page_; }

private:
    QPen outlinePen() const;

    QPainter &painter_;
    std::function<void()> newPageHandler_;
    CanvasFont font_;
    QFont qfont_;
    QColor penColor_ = Qt::black;
    int penWidth_ = 1;
    QColor brushColor_ = Qt::white;
    bool brushClear_ = false;
    bool printerPage_ = false;
    QPoint penPos_;
    int page_ = 1;
};

} // namespace corvale
