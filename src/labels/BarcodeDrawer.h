#pragma once

#include "labels/TBarCodeType.h"

#include <QColor>
#include <QSize>
#include <QString>
#include <optional>

namespace corvale {

class PageCanvas;

// What one drawing of a barcode needs from the control: its properties and
// its bounds in screen pixels.
struct BarcodeProperties {
    QString text = QStringLiteral("1234");
    TBarCodeType type = TBarCodeType::Interleaved2Of5;
    bool clearZone = true;
    bool autoPosition = false;
    bool autoSizing = true;
    double magnification = 1.0;
    QColor color = Qt::white; // spaces and clear modules
    QColor barColor = Qt::black;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where a drawing goes: the control's own surface (origin 0,0, too-small
// frame, automatic sizes) or any other canvas (the printer page above all).
struct BarcodeTarget {
    bool ownSurface = false;
    // Pixels per inch asked by the caller; below 5 means the screen's.
    int resolution = 0;
    // The screen's pixels per inch, horizontal and vertical.
    int screenDpiX = 96;
    int screenDpiY = 96;
};

struct BarcodeOutcome {
    enum class Result { Drawn, Nothing, TooSmall };
    Result result = Result::Nothing;
    // On the own surface: the size the control takes after the drawing.
    std::optional<QSize> ownSize;
};

// Draws a barcode as solid rectangles on a page canvas. The caller's pen,
// brush and font are put back afterwards.
class BarcodeDrawer {
public:
    static BarcodeOutcome draw(PageCanvas &canvas, const BarcodeProperties &properties,
                               const BarcodeTarget &target);
};

} // namespace corvale
