#include "printing/RecordingCanvas.h"

#include "printing/CanvasFonts.h"

#include <QFontMetrics>
#include <QImage>
#include <algorithm>

namespace corvale {

namespace {

// A paint device with the printer's resolution, for metrics only.
const QPaintDevice *metricsDevice(int dpi) {
    thread_local QImage image;
    const int dotsPerMeter = qRound(dpi / 0.0254);
    if (image.isNull() || image.dotsPerMeterX() != dotsPerMeter) {
        image = QImage(1, 1, QImage::Format_ARGB32);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
    }
    return &image;
}

} // namespace

RecordingCanvas::RecordingCanvas(int width, int height, int dpi)
    : width_(width)
    , height_(height)
    , dpi_(dpi)
    , verticalDpi_(dpi) {
    setFont(CanvasFont{});
}

void RecordingCanvas::setFont(const CanvasFont &font) {
    font_ = font;
    qfont_ = CanvasFonts::toQFont(font, verticalDpi_);
}

int RecordingCanvas::textWidth(const QString &text) const {
    return QFontMetrics(qfont_, metricsDevice(verticalDpi_)).horizontalAdvance(text);
}

int RecordingCanvas::textHeight(const QString &) const {
    return QFontMetrics(qfont_, metricsDevice(verticalDpi_)).height();
}

void RecordingCanvas::setPen(const QColor &color, int width) {
    penColor_ = color;
    penWidth_ = width < 1 ? 1 : width;
}

void RecordingCanvas::setBrush(const QColor &color) {
    brushColor_ = color;
    brushClear_ = false;
}

CanvasItem RecordingCanvas::item(CanvasItem::Kind kind) const {
    CanvasItem i;
    i.kind = kind;
    i.page = pages_;
    i.font = font_;
    i.penColor = penColor_;
    i.penWidth = penWidth_;
    i.brushColor = brushColor_;
    i.brushClear = brushClear_;
    return i;
}

void RecordingCanvas::textOut(int x, int y, const QString &text) {
    CanvasItem i = item(CanvasItem::Kind::Text);
    i.text = text;
    i.position = QPoint(x, y);
    i.rect = QRect(x, y, textWidth(text), textHeight(text));
    items_.append(i);
}

void RecordingCanvas::lineTo(int x, int y) {
    CanvasItem i = item(CanvasItem::Kind::Line);
    i.position = penPos_;
    i.end = QPoint(x, y);
    i.rect = QRect(penPos_, i.end).normalized();
    items_.append(i);
    penPos_ = QPoint(x, y);
}

void RecordingCanvas::rectangle(int x1, int y1, int x2, int y2) {
    CanvasItem i = item(CanvasItem::Kind::Rectangle);
    i.rect = QRect(x1, y1, x2 - x1, y2 - y1);
    items_.append(i);
}

void RecordingCanvas::roundRect(int x1, int y1, int x2, int y2, int, int) {
    CanvasItem i = item(CanvasItem::Kind::RoundRect);
    i.rect = QRect(x1, y1, x2 - x1, y2 - y1);
    items_.append(i);
}

void RecordingCanvas::fillRect(const QRect &rect, const QColor &color) {
    CanvasItem i = item(CanvasItem::Kind::Fill);
    i.rect = rect;
    i.brushColor = color;
    i.brushClear = false;
    items_.append(i);
}

void RecordingCanvas::stretchDraw(const QRect &rect, const QImage &image) {
    CanvasItem i = item(CanvasItem::Kind::Picture);
    i.rect = rect;
    i.pictureSize = image.size();
    items_.append(i);
}

QList<CanvasItem> RecordingCanvas::itemsOnPage(int page) const {
    QList<CanvasItem> out;
    for (const CanvasItem &i : items_)
        if (i.page == page)
            out.append(i);
    return out;
}

const CanvasItem *RecordingCanvas::findText(const QString &text, int page) const {
    for (const CanvasItem &i : items_)
        if (i.kind == CanvasItem::Kind::Text && i.text == text && (page <= 0 || i.page == page))
            return &i;
    return nullptr;
}

QList<CanvasItem> RecordingCanvas::textsContaining(const QString &fragment, int page) const {
    QList<CanvasItem> out;
    for (const CanvasItem &i : items_)
        if (i.kind == CanvasItem::Kind::Text && i.text.contains(fragment) &&
            (page <= 0 || i.page == page))
            out.append(i);
    return out;
}

QStringList RecordingCanvas::textsInReadingOrder(int page, int lineTolerance) const {
    QList<CanvasItem> texts;
    for (const CanvasItem &i : items_)
        if (i.kind == CanvasItem::Kind::Text && (page <= 0 || i.page == page))
            texts.append(i);
    // Sort by page and top first, then gather lines whose tops lie within the
    // tolerance of the line's first item and order each line left to right.
    std::stable_sort(texts.begin(), texts.end(), [](const CanvasItem &a, const CanvasItem &b) {
        return std::pair(a.page, a.position.y()) < std::pair(b.page, b.position.y());
    });
    QStringList out;
    for (qsizetype start = 0; start < texts.size();) {
        qsizetype end = start + 1;
        while (end < texts.size() && texts[end].page == texts[start].page &&
               texts[end].position.y() - texts[start].position.y() <= lineTolerance)
            ++end;
        std::stable_sort(texts.begin() + start, texts.begin() + end,
                         [](const CanvasItem &a, const CanvasItem &b) {
                             return a.position.x() < b.position.x();
                         });
        for (qsizetype k = start; k < end; ++k)
            out.append(texts[k].text);
        start = end;
    }
    return out;
}

void RecordingCanvas::clear() {
    items_.clear();
    pages_ = 1;
}

} // namespace corvale
