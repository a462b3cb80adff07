#pragma once

#include "printing/PageCanvas.h"

#include <QFont>

namespace corvale {

// Turns the font a printout asks for into the QFont that draws it at a given
// resolution, the same way on every backend, so that what the recording
// canvas measures is what the printer prints.
class CanvasFonts {
public:
    // The installed face that stands for a face name of the shop's printouts:
    // "Arial", "MS Sans Serif" (and the misspelt "Ariel" some layouts carry)
    // resolve to a face with Arial's metrics.
    static QString family(const QString &name);

    // Pixel size of the em: points at `dpi`, rounded as the layouts expect
    // (10 pt at 600 dpi is 83 dots), or derived from the cell height.
    static int pixelSize(const CanvasFont &font, int dpi);

    // The QFont in device pixels, without hinting or kerning so that widths
    // are the sum of the glyph advances on any device.
    static QFont toQFont(const CanvasFont &font, int dpi);

    // Registers the face substitutions with Qt once; harmless to call again.
    static void installSubstitutions();
};

} // namespace corvale
