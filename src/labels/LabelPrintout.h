#pragma once

#include "labels/LabelLayout.h"
#include "labels/LabelOptions.h"
#include "labels/LabelRow.h"

#include <QList>
#include <QRect>
#include <functional>

namespace corvale {

class PageCanvas;

// The labels of a list drawn on printer pages: a sheet of rows x columns per
// page from a starting row and column, or one label per page on a label
// printer. Each row prints as many labels as its count; rows print in order.
class LabelPrintout {
public:
    // Draws `code` as an EAN-13 filling `bounds` (printer pixels); false when
    // no bars were drawn.
    using BarcodeDraw =
        std::function<bool(PageCanvas &canvas, const QRect &bounds, const QString &code)>;

    LabelPrintout(QList<LabelRow> rows, const LabelOptions &options, const LabelLayout &layout,
                  int startRow = 0, int startColumn = 0);

    // The window draws with its barcode control; without one the drawer does.
    void setBarcodeDraw(BarcodeDraw draw) { m_drawBarcode = std::move(draw); }

    void draw(PageCanvas &canvas) const;

    // " € " and the price with two decimals and thousands separators.
    static QString priceText(double price);
    // True when the code can be printed as bars: digits only, in a length the
    // EAN symbols take, and a check digit that a scanner would accept.
    static bool drawableCode(const QString &code);
    // Draws as the label window's barcode control is set up: EAN-13, fixed
    // size and position, white background and black bars.
    static bool drawEan13(PageCanvas &canvas, const QRect &bounds, const QString &code);

private:
    void drawSheet(PageCanvas &canvas) const;
    void drawLabelPrinter(PageCanvas &canvas) const;
    // The bars, or the code as text when they cannot be drawn; the running
    // height grows as the code text needs. True when the bars were drawn.
    bool drawCode(PageCanvas &canvas, const QRect &bounds, const QString &code, int &y,
                  int lineHeight) const;
    template <typename Each> void forEachLabel(Each each) const;

    QList<LabelRow> m_rows;
    LabelOptions m_options;
    LabelLayout m_layout;
    int m_startRow;
    int m_startColumn;
    BarcodeDraw m_drawBarcode;
};

} // namespace corvale
