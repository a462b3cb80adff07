#include "BarcodeImage.h"

#include "labels/TPrintBarcode.h"
#include "printing/QPainterCanvas.h"
#include "printing/RecordingCanvas.h"

#include <QPainter>

namespace corvale {

QImage barcodeImage(TPrintBarcode &control, int dpi) {
    // A dry run finds the symbol's extent; the image is then made to measure.
    const int margin = dpi / 4;
    control.move(margin, margin);
    control.setAutoPosition(false);
    RecordingCanvas dry(1 << 20, 1 << 20, dpi);
    dry.setPrinterPage(false);
    if (control.DrawBarcode(dry, dpi).result != BarcodeOutcome::Result::Drawn)
        return {};
    QRect extent;
    for (const CanvasItem &item : dry.items())
        extent |= item.rect;
    QImage image(extent.right() + 1 + margin, extent.bottom() + 1 + margin, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    image.fill(Qt::white);
    const int dotsPerMeter = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&image);
    QPainterCanvas canvas(painter);
    canvas.setPrinterPage(false);
    control.DrawBarcode(canvas, dpi);
    return image;
}

} // namespace corvale
