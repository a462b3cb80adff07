#pragma once

#include "printing/PageCanvas.h"

#include <QFont>
#include <QList>
#include <QStringList>

namespace corvale {

// One thing drawn on a RecordingCanvas, with the canvas state it was drawn in.
struct CanvasItem {
    enum class Kind { Text, Line, Rectangle, RoundRect, Fill, Picture };

    Kind kind = Kind::Text;
    int page = 1;
    QString text;    // Text
    QPoint position; // Text: top-left; Line: start
    QPoint end;      // Line: end
    QRect rect;      // Text: its cell; shapes and pictures: the area covered
    CanvasFont font;
    QColor penColor;
    int penWidth = 1;
    QColor brushColor; // Fill: the fill colour
    bool brushClear = false;
    QSize pictureSize; // Picture
};

// A page canvas that draws nothing and keeps every item, for tests of
// printouts. It measures text exactly as a 600-dpi printer does, so positions
// derived from text sizes are the printed ones.
class RecordingCanvas : public PageCanvas {
public:
    // A4 at 600 dpi less a printer's usual unprintable border.
    explicit RecordingCanvas(int width = 4760, int height = 6814, int dpi = 600);

    int pageWidth() const override { return width_; }
    int pageHeight() const override { return height_; }
    int resolution() const override { return dpi_; }
    int verticalResolution() const override { return verticalDpi_; }
    bool isPrinterPage() const override { return printerPage_; }
    void setVerticalResolution(int dpi) { verticalDpi_ = dpi; }
    void setPrinterPage(bool on) { printerPage_ = on; }

    void setFont(const CanvasFont &font) override;
    CanvasFont font() const override { return font_; }
    int textWidth(const QString &text) const override;
    int textHeight(const QString &text) const override;

    void setPen(const QColor &color, int width = 1) override;
    QColor penColor() const override { return penColor_; }
    int penWidth() const override { return penWidth_; }
    void setBrush(const QColor &color) override;
    void setBrushClear() override { brushClear_ = true; }
    QColor brushColor() const override { return brushColor_; }
    bool brushClear() const override { return brushClear_; }

    void textOut(int x, int y, const QString &text) override;
    void moveTo(int x, int y) override { penPos_ = QPoint(x, y); }
    void lineTo(int x, int y) override;
    void rectangle(int x1, int y1, int x2, int y2) override;
    void roundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) override;
    void fillRect(const QRect &rect, const QColor &color) override;
    void stretchDraw(const QRect &rect, const QImage &image) override;
    void newPage() override { ++pages_; }

    // Helpers for tests.
    const QList<CanvasItem> &items() const { return items_; }
    QList<CanvasItem> itemsOnPage(int page) const;
    int pageCount() const { return pages_; }
    // The first text item equal to `text` (on `page` when above 0), or null.
    const CanvasItem *findText(const QString &text, int page = 0) const;
    // All text items containing `fragment`.
    QList<CanvasItem> textsContaining(const QString &fragment, int page = 0) const;
    // The texts of a page (every page when 0) top to bottom, then left to
    // right; texts whose tops are within `lineTolerance` dots share a line.
    QStringList textsInReadingOrder(int page = 0, int lineTolerance = 0) const;
    void clear();

private:
    CanvasItem item(CanvasItem::Kind kind) const;

    int width_;
    int height_;
    int dpi_;
    int verticalDpi_;
    bool printerPage_ = true;
    CanvasFont font_;
    QFont qfont_;
    QColor penColor_ = Qt::black;
    int penWidth_ = 1;
    QColor brushColor_ = Qt::white;
    bool brushClear_ = false;
    QPoint penPos_;
    int pages_ = 1;
    QList<CanvasItem> items_;
};

} // namespace corvale
