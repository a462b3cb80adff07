#include "labels/BarcodeDrawer.h"

#include "labels/BarcodeEncoding.h"
#include "printing/PageCanvas.h"

#include <algorithm>
#include <cmath>

namespace corvale {

namespace {

using namespace barcode;

int truncated(double x) {
    return int(std::trunc(x));
}
// Halves go to the even neighbour.
int rounded(double x) {
    return int(std::nearbyint(x));
}

class Drawing {
public:
    Drawing(PageCanvas &canvas, const BarcodeProperties &p, const BarcodeTarget &t)
        : c_(canvas)
        , p_(p)
        , t_(t) {}

    BarcodeOutcome run() {
        setUp();
        const QColor pen = c_.penColor();
        const int penWidth = c_.penWidth();
        const QColor brush = c_.brushColor();
        const bool brushClear = c_.brushClear();
        const CanvasFont font = c_.font();
        c_.setPen(pen, 1);
        draw();
        c_.setPen(pen, penWidth);
        if (brushClear)
            c_.setBrushClear();
        else
            c_.setBrush(brush);
        c_.setFont(font);
        return out_;
    }

private:
    void setUp() {
        if (!t_.ownSurface && c_.isPrinterPage()) {
            h_ = c_.resolution();
            v_ = c_.verticalResolution();
        } else {
            h_ = v_ = t_.resolution < 5 ? t_.screenDpiX : t_.resolution;
        }
        if (!t_.ownSurface) {
            left_ = p_.left;
            top_ = p_.top;
            if (p_.autoPosition) {
                left_ = truncated(double(h_) * p_.left / t_.screenDpiX);
                top_ = truncated(double(v_) * p_.top / t_.screenDpiY);
            }
        }
        w_ = p_.width;
        h2_ = p_.height;
        if (p_.autoSizing &&
            (p_.type == TBarCodeType::Code39 || p_.type == TBarCodeType::Interleaved2Of5 ||
             p_.type == TBarCodeType::ITF14)) {
            h2_ = truncated(double(v_) * p_.height / t_.screenDpiY);
            w_ = truncated(double(h_) * p_.width / t_.screenDpiX);
        }
    }

    void draw() {
        switch (p_.type) {
        case TBarCodeType::Code39:
            return code39();
        case TBarCodeType::Interleaved2Of5:
            return interleaved(p_.text);
        case TBarCodeType::ITF14: {
            const std::optional<QString> t = itf14Text(p_.text);
            if (!t)
                return tooSmall();
            return interleaved(*t);
        }
        case TBarCodeType::Code128:
            return code128(false);
        case TBarCodeType::EAN128:
            return code128(true);
        case TBarCodeType::PostNet:
        case TBarCodeType::PostnetZip:
        case TBarCodeType::PostNetZipPlus4:
        case TBarCodeType::Postnet11:
            return postnet();
        case TBarCodeType::EAN:
        case TBarCodeType::EAN8:
        case TBarCodeType::EAN13:
            return ean();
        case TBarCodeType::FIMA:
        case TBarCodeType::FIMB:
        case TBarCodeType::FIMC:
            return fim();
        }
    }

    // One bar or space: a solid rectangle over columns x .. x+w-1 (x from the
    // origin) and rows y1 .. y2-1.
    void element(int x, int w, int y1, int y2, bool bar) {
        if (w <= 0 || y2 <= y1)
            return;
        const QColor &colour = bar ? p_.barColor : p_.color;
        c_.setPen(colour, 1);
        c_.setBrush(colour);
        c_.rectangle(left_ + x, y1, left_ + x + w, y2);
        out_.result = BarcodeOutcome::Result::Drawn;
    }

    void tooSmall() {
        out_.result = BarcodeOutcome::Result::TooSmall;
        if (!t_.ownSurface)
            return;
        c_.setPen(p_.barColor, 1);
        c_.rectangle(0, 0, p_.width, p_.height);
    }

    void ean() {
        const EanSymbol s = encodeEan(p_.text);
        if (!s.valid)
            return tooSmall();
        const int T = s.totalModules;
        int m;
        int barHeight;
        if (!p_.autoSizing) {
            m = w_ / T;
            if (m == 0)
                return tooSmall();
            barHeight = std::max(0, h2_ - 12 * m);
        } else {
            int smallest;
            if (s.ean13) {
                smallest = truncated(h_ * 1.22 * 0.2 / 95) + 1;
                m = rounded(h_ * 1.23 * p_.magnification / 95);
            } else {
                smallest = truncated(h_ * 0.86 * 0.2 / 67) + 1;
                m = rounded(h_ * 0.87 * p_.magnification / 67);
            }
            m = std::max({m, smallest, 1});
            if (t_.ownSurface)
                out_.ownSize = QSize(T * m, 66 * m);
            barHeight = 55 * m;
        }

        CanvasFont font = c_.font();
        font.name = QStringLiteral("Ariel");
        font.height = 14 * m;
        font.bold = true;
        c_.setFont(font);

        c_.setPen(p_.color, 1);
        c_.rectangle(left_, top_, left_ + T * m, top_ + barHeight + 11 * m);
        c_.setBrush(p_.color);
        if (!p_.autoSizing && t_.ownSurface)
            c_.rectangle(0, 0, p_.width, p_.height);

        if (s.ean13) {
            c_.textOut(left_ + 5 * m, top_ + barHeight, QString(s.text[0]));
            left_ += 11 * m;
        } else {
            left_ += 7 * m;
        }
        top_ += m;

        size_t nextDigit = 0;
        int x = 0;
        for (size_t i = 0; i < s.modules.size(); ++i) {
            if (nextDigit < s.digits.size() && size_t(s.digits[nextDigit].module) == i) {
                c_.setBrush(p_.color);
                c_.textOut(left_ + x, top_ + barHeight - m, QString(s.digits[nextDigit].ch));
                ++nextDigit;
            }
            const BarElement &e = s.modules[i];
            element(x, m, top_, top_ + barHeight + (e.guard ? 5 * m : 0), e.bar);
            x += m;
        }
        out_.result = BarcodeOutcome::Result::Drawn;
    }

    void linear(const LinearSymbol &s) {
        if (s.status == LinearSymbol::Status::TooSmall)
            return tooSmall();
        int x = 0;
        for (const BarElement &e : s.elements) {
            element(x, e.width, top_, top_ + h2_, e.bar);
            x += e.width;
        }
    }

    void code39() { linear(encodeCode39(p_.text, w_, p_.clearZone)); }

    void interleaved(const QString &text) {
        const LinearSymbol s = encodeInterleaved2Of5(text, w_, p_.clearZone);
        linear(s);
        if (s.status != LinearSymbol::Status::Drawn)
            return;
        element(s.bearerX, s.bearerLength, top_, top_ + s.bearerThickness, true);
        element(s.bearerX, s.bearerLength, top_ + h2_ - s.bearerThickness, top_ + h2_, true);
    }

    void code128(bool ean128) {
        std::optional<std::vector<int>> values = code128Values(p_.text, ean128);
        // A text the symbology cannot carry, or one longer than a symbol may
        // be, is not drawn: a symbol cut short would scan as wrong data.
        if (!values || int(values->size()) + 1 > code128MaxValues)
            return tooSmall();
        values->push_back(code128Check(*values));
        const int m = std::max(1, rounded(h_ * 0.03937 * p_.magnification));
        int barHeight;
        if (p_.autoSizing || ean128) {
            barHeight = 32 * m;
            if (ean128)
                barHeight = std::max(barHeight, rounded(0.2 * h_));
        } else {
            barHeight = truncated(double(v_) * p_.height / t_.screenDpiY);
        }
        const int quiet = p_.clearZone ? 10 : 0;
        const int n = int(values->size());
        const int boxWidth = m * (11 * (n + 1) + 13 + 2 * quiet);
        if (t_.ownSurface)
            out_.ownSize = QSize(boxWidth, barHeight);
        c_.setPen(p_.color, 1);
        c_.rectangle(left_, top_, left_ + boxWidth, top_ + barHeight);
        c_.setBrush(p_.color);
        int x = 0;
        for (const BarElement &e : code128Modules(*values, quiet)) {
            element(x, e.width * m, top_, top_ + barHeight, e.bar);
            x += e.width * m;
        }
    }

    void postnet() {
        const QString digits = postnetText(p_.text, p_.type);
        const std::vector<bool> bars = postnetBars(digits);
        const int pitch = (h_ + 11) / 22;
        const int barWidth = pitch / 2;
        const int spaceWidth = pitch - barWidth;
        const int tall = (v_ + 4) / 8;
        const int shortBar = (v_ + 10) / 20;
        if (t_.ownSurface)
            out_.ownSize = QSize((5 * int(digits.size()) + 2) * pitch + 4, p_.height);
        int x = 0;
        for (size_t i = 0; i < bars.size(); ++i) {
            if (bars[i]) {
                element(x, barWidth, top_, top_ + tall, true);
            } else {
                element(x, barWidth, top_, top_ + tall - shortBar, false);
                element(x, barWidth, top_ + tall - shortBar, top_ + tall, true);
            }
            x += barWidth;
            if (i + 1 < bars.size()) {
                element(x, spaceWidth, top_, top_ + tall, false);
                x += spaceWidth;
            }
        }
    }

    void fim() {
        const int unit = (h_ + 16) / 32;
        const int height = (5 * v_ + 4) / 8;
        if (t_.ownSurface) {
            out_.ownSize = QSize(h_ / 2 + unit + 2, height);
        } else if (p_.autoPosition) {
            // The mark belongs two inches from the right edge of the piece,
            // at its top: measured from the right edge of the target page.
            top_ = 1;
            left_ = std::max(0, c_.pageWidth() - 2 * h_ - 18 * unit - 2);
        }
        int x = 0;
        for (bool bar : fimPattern(p_.type)) {
            element(x, unit, top_, top_ + height, bar);
            x += unit;
            element(x, unit, top_, top_ + height, false);
            x += unit;
        }
    }

    PageCanvas &c_;
    const BarcodeProperties &p_;
    const BarcodeTarget &t_;
    BarcodeOutcome out_;
    int h_ = 96; // horizontal resolution
    int v_ = 96; // vertical resolution
    int left_ = 0;
    int top_ = 0;
    int w_ = 0;  // available width W
    int h2_ = 0; // available height H
};

} // namespace

BarcodeOutcome BarcodeDrawer::draw(PageCanvas &canvas, const BarcodeProperties &properties,
                                   const BarcodeTarget &target) {
    return Drawing(canvas, properties, target).run();
}

} // namespace corvale
