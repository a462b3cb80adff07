#include "labels/LabelPrintout.h"

#include "labels/BarcodeDrawer.h"
#include "labels/BarcodeEncoding.h"
#include "labels/SheetPlacement.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"
#include "shell/CommonRoutines.h"

#include <cmath>

namespace corvale {

namespace {

const QString measureText = QStringLiteral("X");

// Halves go to the even neighbour, as the label geometry was designed with.
int roundEven(double x) {
    return int(std::nearbyint(x));
}

void setStrikeOut(PageCanvas &canvas, bool on) {
    CanvasFont f = canvas.font();
    f.strikeOut = on;
    canvas.setFont(f);
}

// Sets the size and gives the height of "X" in it.
int lineHeightAt(PageCanvas &canvas, double size) {
    canvas.setFontSize(size);
    return canvas.textHeight(measureText);
}

} // namespace

LabelPrintout::LabelPrintout(QList<LabelRow> rows, const LabelOptions &options,
                             const LabelLayout &layout, int startRow, int startColumn)
    : m_rows(std::move(rows))
    , m_options(options)
    , m_layout(layout.clamped())
    , m_startRow(startRow)
    , m_startColumn(startColumn)
    , m_drawBarcode(&LabelPrintout::drawEan13) {}

QString LabelPrintout::priceText(double price) {
    return QStringLiteral(" \u20AC ") +
           CommonRoutines::TrimLeading(Formats::format(u"%10.2n", price));
}

bool LabelPrintout::drawableCode(const QString &code) {
    const qsizetype n = code.size();
    if (n != 7 && n != 8 && n != 12 && n != 13)
        return false;
    for (QChar c : code)
        if (c < u'0' || c > u'9')
            return false;
    // A complete code whose last digit is wrong would print bars no scanner
    // reads; its text is more use on the shelf.
    if (n == 8 || n == 13)
        return barcode::eanCheckDigit(QStringView(code).left(n - 1)) == code.back().digitValue();
    return true;
}

bool LabelPrintout::drawEan13(PageCanvas &canvas, const QRect &bounds, const QString &code) {
    BarcodeProperties p;
    p.text = code;
    p.type = TBarCodeType::EAN13;
    p.autoSizing = false;
    p.autoPosition = false;
    p.magnification = 1.0;
    p.color = Qt::white;
    p.barColor = Qt::black;
    p.left = bounds.x();
    p.top = bounds.y();
    p.width = bounds.width();
    p.height = bounds.height();
    BarcodeTarget target;
    target.ownSurface = false;
    return BarcodeDrawer::draw(canvas, p, target).result == BarcodeOutcome::Result::Drawn;
}

void LabelPrintout::draw(PageCanvas &canvas) const {
    // Texts are laid over white paper; a filled text cell would only risk
    // covering a neighbour when the spacing is negative.
    canvas.setBrushClear();
    canvas.setPen(Qt::black);
    CanvasFont font;
    font.name = QStringLiteral("Arial");
    canvas.setFont(font);
    if (m_options.labelPrinter)
        drawLabelPrinter(canvas);
    else
        drawSheet(canvas);
}

template <typename Each> void LabelPrintout::forEachLabel(Each each) const {
    qint64 remaining = 0;
    for (const LabelRow &r : m_rows)
        remaining += r.count;
    for (const LabelRow &r : m_rows)
        for (int i = 0; i < r.count; ++i)
            each(r, --remaining > 0);
}

bool LabelPrintout::drawCode(PageCanvas &canvas, const QRect &bounds, const QString &code, int &y,
                             int lineHeight) const {
    if (drawableCode(code) && m_drawBarcode(canvas, bounds, code))
        return true;
    canvas.setFontSize(12);
    y += lineHeight;
    canvas.textOut(bounds.x(), y, code);
    y += 2 * lineHeight;
    return false;
}

void LabelPrintout::drawSheet(PageCanvas &canvas) const {
    SheetPlacement place(m_layout, canvas.pageWidth(), canvas.pageHeight(), m_startRow,
                         m_startColumn);
    const int barWidth = roundEven(canvas.pageWidth() / 5.5);
    const int barHeight = roundEven(0.25 * barWidth);
    const bool texts = !m_options.barcodeOnly;
    int line = lineHeightAt(canvas, 8);

    forEachLabel([&](const LabelRow &r, bool more) {
        const int x = place.topLeft().x();
        int y = place.topLeft().y();
        if (texts) {
            canvas.textOut(x, y, r.brand + QStringLiteral(" - ") + r.description);
            y += line + 10;
        } else {
            y += line / 2;
        }
        if (drawCode(canvas, QRect(x, y, barWidth, barHeight), r.barcode, y, line))
            y += barHeight + 10;

        line = lineHeightAt(canvas, 10);
        if (texts)
            canvas.textOut(x, y, r.colour);
        canvas.setFontSize(16);
        canvas.setBold(true);
        if (texts)
            canvas.textOutRight(x + barWidth, y, r.sizeLabel);
        y += line;
        canvas.setBold(false);

        if (texts && m_options.printPrice) {
            double price = r.price;
            if (!r.reduction.isEmpty()) {
                // A campaign's price always shows the previous one and the reduction.
                canvas.setFontSize(8);
                canvas.textOut(x, y, r.reduction);
                y += lineHeightAt(canvas, 8);
            } else if (r.discount > 0 && m_options.discountedPrice) {
                canvas.setFontSize(8);
                setStrikeOut(canvas, true);
                canvas.textOut(x, y, priceText(price));
                price = r.price * (1 - r.discount / 100);
                setStrikeOut(canvas, false);
                y += lineHeightAt(canvas, 8);
            }
            canvas.setFontSize(12);
            canvas.textOut(x, y, priceText(price));
        }
        line = lineHeightAt(canvas, 8);
        if (more && place.advance())
            canvas.newPage();
    });
}

void LabelPrintout::drawLabelPrinter(PageCanvas &canvas) const {
    const int pageWidth = canvas.pageWidth();
    const int right = pageWidth - 20;
    const int barWidth = roundEven((m_options.barcodeOnly ? 0.9 : 0.6) * pageWidth);
    const int barHeight = roundEven(0.27 * barWidth);
    const bool texts = !m_options.barcodeOnly;
    int line = lineHeightAt(canvas, 10);

    forEachLabel([&](const LabelRow &r, bool more) {
        int y = 0;
        if (texts) {
            canvas.textOut(0, y, r.description);
            y += line + 10;
        } else {
            y += line / 2;
        }
        drawCode(canvas, QRect(0, y, barWidth, barHeight), r.barcode, y, line);

        canvas.setFontSize(24);
        canvas.setBold(true);
        if (texts)
            canvas.textOutRight(right, y, r.sizeLabel);
        line = lineHeightAt(canvas, 9);
        y += barHeight + 10;
        canvas.setBold(false);

        if (texts)
            canvas.textOut(0, y, r.colour);
        if (texts && m_options.printPrice) {
            if (!r.reduction.isEmpty()) {
                canvas.setFontSize(16);
                canvas.textOutRight(right, y, priceText(r.price));
                canvas.setFontSize(8);
                canvas.textOut(0, y + 2 * line, r.reduction);
            } else if (r.discount > 0 && m_options.discountedPrice) {
                setStrikeOut(canvas, true);
                canvas.textOutRight(right, y, priceText(r.price));
                setStrikeOut(canvas, false);
                canvas.setFontSize(12);
                canvas.textOutRight(right, y + line, priceText(r.price * (1 - r.discount / 100)));
            } else {
                canvas.setFontSize(16);
                canvas.textOutRight(right, y, priceText(r.price));
            }
        }
        canvas.setFontSize(9);
        if (texts)
            canvas.textOut(0, y + line, r.brand);
        line = lineHeightAt(canvas, 10);
        if (more)
            canvas.newPage();
    });
}

} // namespace corvale
