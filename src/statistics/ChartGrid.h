#pragma once

#include <QString>

#include <functional>

namespace corvale {

class PageCanvas;

// The frame the sales charts are drawn in: a white page outlined in black,
// the two axes and the ten lines of the value scale with their labels at the
// left, in Arial 8. The vertical axis stands `left` pixels in; the horizontal
// one lies `left` pixels above the bottom.
struct ChartGrid {
    int left = 50;
    int axisTop = 36;   // where the vertical axis starts
    int axisRight = 30; // how far from the right edge the horizontal axis ends
    int gridRight = 50; // how far from the right edge the scale's lines end

    // Draws it all on a `w` × `h` chart; line n (9 at the bottom, 0 at the
    // top) carries `label(n)`. Returns the height of one step of the scale.
    int draw(PageCanvas &canvas, int w, int h, const std::function<QString(int)> &label) const;
    // The line of step n.
    int lineY(int n, int step) const { return left + n * step; }
};

} // namespace corvale
