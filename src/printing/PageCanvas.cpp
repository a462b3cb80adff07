#include "printing/PageCanvas.h"

namespace corvale {

void PageCanvas::setFontSize(double points) {
    CanvasFont f = font();
    f.size = points;
    f.height = 0;
    setFont(f);
}

void PageCanvas::setFontName(const QString &name) {
    CanvasFont f = font();
    f.name = name;
    setFont(f);
}

void PageCanvas::setBold(bool on) {
    CanvasFont f = font();
    f.bold = on;
    setFont(f);
}

void PageCanvas::setItalic(bool on) {
    CanvasFont f = font();
    f.italic = on;
    setFont(f);
}

} // namespace corvale
