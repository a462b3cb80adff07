#include "labels/TPrintBarcode.h"

#include "labels/BarcodeDataSource.h"
#include "labels/BarcodeDragOverlay.h"
#include "labels/BarcodeEncoding.h"
#include "printing/QPainterCanvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace corvale {

namespace {

int roundedEven(double x) {
    return int(std::nearbyint(x));
}

// Inches to pixels, kept to what a widget can hold whatever the value.
int pixels(double inches, int dpi) {
    const double v = inches * dpi;
    if (!std::isfinite(v))
        return 0;
    return roundedEven(std::clamp(v, -double(QWIDGETSIZE_MAX), double(QWIDGETSIZE_MAX)));
}

double inches(int pixels, int dpi) {
    return roundedEven(double(pixels) / dpi * 1000) * 0.001;
}

} // namespace

TPrintBarcode::TPrintBarcode(QWidget *parent)
    : QWidget(parent) {
    resize(200, 60);
    setMouseTracking(true);
}

TPrintBarcode::~TPrintBarcode() {
    delete overlay_;
}

void TPrintBarcode::setText(const QString &text) {
    p_.text = text.left(maxTextLength);
    if (parentWidget() && isVisible())
        update();
}

void TPrintBarcode::setBarCodeType(TBarCodeType type) {
    p_.type = type;
    if (isPostnet(type))
        p_.autoSizing = true;
    redrawIfVisible();
}

double TPrintBarcode::heightInInches() const {
    return inches(height(), screenDpiY());
}

void TPrintBarcode::setHeightInInches(double value) {
    resize(width(), pixels(value, screenDpiY()));
}

double TPrintBarcode::widthInInches() const {
    return inches(width(), screenDpiX());
}

void TPrintBarcode::setWidthInInches(double value) {
    resize(pixels(value, screenDpiX()), height());
}

double TPrintBarcode::topInInches() const {
    return inches(y(), screenDpiY());
}

void TPrintBarcode::setTopInInches(double value) {
    move(x(), pixels(value, screenDpiY()));
}

double TPrintBarcode::leftInInches() const {
    return inches(x(), screenDpiX());
}

void TPrintBarcode::setLeftInInches(double value) {
    move(pixels(value, screenDpiX()), y());
}

void TPrintBarcode::setMagnification(double value) {
    switch (p_.type) {
    case TBarCodeType::EAN:
    case TBarCodeType::EAN8:
    case TBarCodeType::EAN13:
        p_.magnification = std::clamp(value, 0.2, 4.0);
        break;
    case TBarCodeType::Code128:
    case TBarCodeType::EAN128:
        p_.magnification = std::clamp(value, 0.2, 2.0);
        break;
    default:
        break;
    }
}

void TPrintBarcode::setBarColor(const QColor &color) {
    p_.barColor = color;
    redrawIfVisible();
}

void TPrintBarcode::setColor(const QColor &color) {
    p_.color = color;
    update();
}

void TPrintBarcode::setDataField(const QString &field) {
    dataField_ = field;
    recordChanged();
}

void TPrintBarcode::setDataSource(BarcodeDataSource *source) {
    dataSource_ = source;
    recordChanged();
}

void TPrintBarcode::recordChanged() {
    if (!dataSource_ || dataField_.isEmpty() || !dataSource_->isActive())
        return;
    setText(dataSource_->fieldText(dataField_));
    p_.text = barcode::linkedText(p_.text, p_.type);
    redrawIfVisible();
}

BarcodeOutcome TPrintBarcode::DrawBarcode(PageCanvas &target, int resolution) {
    BarcodeTarget t;
    t.ownSurface = false;
    t.resolution = resolution;
    t.screenDpiX = screenDpiX();
    t.screenDpiY = screenDpiY();
    return BarcodeDrawer::draw(target, properties(), t);
}

BarcodeOutcome TPrintBarcode::drawOwnSurface(PageCanvas &canvas) {
    BarcodeTarget t;
    t.ownSurface = true;
    t.resolution = 0;
    t.screenDpiX = screenDpiX();
    t.screenDpiY = screenDpiY();
    const BarcodeOutcome outcome = BarcodeDrawer::draw(canvas, properties(), t);
    if (outcome.ownSize && *outcome.ownSize != size())
        resize(*outcome.ownSize);
    return outcome;
}

int TPrintBarcode::screenDpiX() const {
    return fixedDpiX_ > 0 ? fixedDpiX_ : logicalDpiX();
}

int TPrintBarcode::screenDpiY() const {
    return fixedDpiY_ > 0 ? fixedDpiY_ : logicalDpiY();
}

void TPrintBarcode::setScreenDpi(int x, int y) {
    fixedDpiX_ = x;
    fixedDpiY_ = y;
}

BarcodeProperties TPrintBarcode::properties() const {
    BarcodeProperties p = p_;
    p.left = x();
    p.top = y();
    p.width = width();
    p.height = height();
    return p;
}

void TPrintBarcode::redrawIfVisible() {
    if (isVisible())
        update();
}

void TPrintBarcode::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    QPainterCanvas canvas(painter);
    canvas.setPrinterPage(false);
    drawOwnSurface(canvas);
}

int TPrintBarcode::edgesAt(const QPoint &pos) const {
    int edges = None;
    if (pos.x() < 3)
        edges |= Left;
    else if (pos.x() >= width() - 7)
        edges |= Right;
    if (pos.y() < 3)
        edges |= Top;
    else if (pos.y() >= height() - 7)
        edges |= Bottom;
    return edges;
}

void TPrintBarcode::updateCursor(int edges) {
    const bool horizontal = edges & (Left | Right);
    const bool vertical = edges & (Top | Bottom);
    if (horizontal && vertical) {
        const bool falling = (edges & Left && edges & Top) || (edges & Right && edges & Bottom);
        setCursor(falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    } else if (horizontal) {
        setCursor(Qt::SizeHorCursor);
    } else if (vertical) {
        setCursor(Qt::SizeVerCursor);
    } else {
        unsetCursor();
    }
}

QRect TPrintBarcode::dragRect(const QPoint &globalPos) const {
    const QPoint delta = globalPos - dragStart_;
    QRect r = dragOrigin_;
    if (dragEdges_ == None)
        return r.translated(delta);
    if (dragEdges_ & Left)
        r.setLeft(r.left() + delta.x());
    if (dragEdges_ & Right)
        r.setRight(r.right() + delta.x());
    if (dragEdges_ & Top)
        r.setTop(r.top() + delta.y());
    if (dragEdges_ & Bottom)
        r.setBottom(r.bottom() + delta.y());
    return r.normalized();
}

void TPrintBarcode::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton || !isVisible() || !parentWidget()) {
        QWidget::mousePressEvent(event);
        return;
    }
    dragEdges_ = edgesAt(event->position().toPoint());
    dragStart_ = event->globalPosition().toPoint();
    dragOrigin_ = geometry();
    dragging_ = true;
    updateCursor(dragEdges_);
    delete overlay_;
    overlay_ = new BarcodeDragOverlay(parentWidget());
    overlay_->setFrame(dragOrigin_);
    event->accept();
}

void TPrintBarcode::mouseMoveEvent(QMouseEvent *event) {
    if (!dragging_) {
        if (isVisible() && parentWidget())
            updateCursor(edgesAt(event->position().toPoint()));
        QWidget::mouseMoveEvent(event);
        return;
    }
    if (overlay_)
        overlay_->setFrame(dragRect(event->globalPosition().toPoint()));
    event->accept();
}

void TPrintBarcode::mouseReleaseEvent(QMouseEvent *event) {
    if (!dragging_ || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QRect bounds = dragRect(event->globalPosition().toPoint());
    dragging_ = false;
    delete overlay_;
    unsetCursor();
    if (bounds.width() > 8 && bounds.height() > 8)
        setGeometry(bounds);
    event->accept();
}

} // namespace corvale
