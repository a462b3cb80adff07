#pragma once

#include <QImage>

namespace corvale {

class TPrintBarcode;

// Draws the control's symbol onto a white image at `dpi`, with a quiet
// margin of a quarter inch all round. A null image when nothing was drawn.
QImage barcodeImage(TPrintBarcode &control, int dpi);

} // namespace corvale
