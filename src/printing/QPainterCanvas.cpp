#include "printing/QPainterCanvas.h"

#include "printing/CanvasFonts.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>

namespace corvale {

QPainterCanvas::QPainterCanvas(QPainter &painter, std::function<void()> newPageHandler)
    : painter_(painter)
    , newPageHandler_(std::move(newPageHandler)) {
    printerPage_ = dynamic_cast<QPagedPaintDevice *>(painter_.device()) != nullptr;
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    setFont(CanvasFont{});
}

int QPainterCanvas::pageWidth() const {
    return painter_.device()->width();
}

int QPainterCanvas::pageHeight() const {
    return painter_.device()->height();
}

int QPainterCanvas::resolution() const {
    return painter_.device()->logicalDpiX();
}

int QPainterCanvas::verticalResolution() const {
    return painter_.device()->logicalDpiY();
}

bool QPainterCanvas::isPrinterPage() const {
    return printerPage_;
}

void QPainterCanvas::setFont(const CanvasFont &font) {
    font_ = font;
    qfont_ = CanvasFonts::toQFont(font, verticalResolution());
}

int QPainterCanvas::textWidth(const QString &text) const {
    return QFontMetrics(qfont_, painter_.device()).horizontalAdvance(text);
}

int QPainterCanvas::textHeight(const QString &) const {
    return QFontMetrics(qfont_, painter_.device()).height();
}

void QPainterCanvas::setPen(const QColor &color, int width) {
    penColor_ = color;
    penWidth_ = width < 1 ? 1 : width;
}

void QPainterCanvas::setBrush(const QColor &color) {
    brushColor_ = color;
    brushClear_ = false;
}

void QPainterCanvas::setBrushClear() {
    brushClear_ = true;
}

QPen QPainterCanvas::outlinePen() const {
    QPen pen(penColor_);
    pen.setWidth(penWidth_);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::SquareCap);
    return pen;
}

void QPainterCanvas::textOut(int x, int y, const QString &text) {
    const QFontMetrics metrics(qfont_, painter_.device());
    if (!brushClear_)
        painter_.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()),
                          brushColor_);
    painter_.setFont(qfont_);
    painter_.setPen(font_.color);
    painter_.drawText(QPoint(x, y + metrics.ascent()), text);
}

void QPainterCanvas::moveTo(int x, int y) {
    penPos_ = QPoint(x, y);
}

void QPainterCanvas::lineTo(int x, int y) {
    painter_.setPen(outlinePen());
    painter_.drawLine(penPos_, QPoint(x, y));
    penPos_ = QPoint(x, y);
}

void QPainterCanvas::rectangle(int x1, int y1, int x2, int y2) {
    const QRect area = QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)).normalized();
    if (area.isEmpty())
        return;
    if (!brushClear_)
        painter_.fillRect(area, brushColor_);
    // The outline stays inside the rectangle, so a shape never spills past
    // the edges the caller gave, whatever the pen width.
    const int w = penWidth_;
    const QColor c = penColor_;
    if (area.width() <= 2 * w || area.height() <= 2 * w) {
        painter_.fillRect(area, c);
        return;
    }
    painter_.fillRect(QRect(area.left(), area.top(), area.width(), w), c);
    painter_.fillRect(QRect(area.left(), area.bottom() - w + 1, area.width(), w), c);
    painter_.fillRect(QRect(area.left(), area.top() + w, w, area.height() - 2 * w), c);
    painter_.fillRect(QRect(area.right() - w + 1, area.top() + w, w, area.height() - 2 * w), c);
}

void QPainterCanvas::roundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
    const QRectF area = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
    if (area.isEmpty())
        return;
    const double half = penWidth_ / 2.0;
    const QRectF path = area.adjusted(half, half, -half, -half);
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setPen(outlinePen());
    if (brushClear_)
        painter_.setBrush(Qt::NoBrush);
    else
        painter_.setBrush(brushColor_);
    painter_.drawRoundedRect(path, cornerWidth / 2.0, cornerHeight / 2.0, Qt::AbsoluteSize);
    painter_.restore();
}

void QPainterCanvas::fillRect(const QRect &rect, const QColor &color) {
    painter_.fillRect(rect, color);
}

void QPainterCanvas::stretchDraw(const QRect &rect, const QImage &image) {
    if (image.isNull() || rect.isEmpty())
        return;
    painter_.save();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter_.drawImage(rect, image);
    painter_.restore();
}

void QPainterCanvas::newPage() {
    if (newPageHandler_)
        newPageHandler_();
    else if (auto *paged = dynamic_cast<QPagedPaintDevice *>(painter_.device()))
        paged->newPage();
    ++page_;
}

} // namespace corvale
