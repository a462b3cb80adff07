#pragma once

#include <QList>
#include <QRect>

namespace corvale {

// Where the archive hub's nine buttons go on a work area W × H pixels wide
// (every division a whole-number one): three columns and three rows, read
// left to right and top to bottom.
class ArchiveButtonLayout {
public:
    static constexpr int buttonCount = 9;
    // 10 points up to 900 pixels, 12 beyond.
    static int fontPoints(int W);
    static QList<QRect> place(int W, int H);
};

} // namespace corvale
