#include "maintenance/ArchiveButtonLayout.h"

namespace corvale {

int ArchiveButtonLayout::fontPoints(int W) {
    return W < 901 ? 10 : 12;
}

QList<QRect> ArchiveButtonLayout::place(int W, int H) {
    const int w = W / 4 + (W / 4) / 10 + 8;
    const int h = H / 8 + 5;
    const int left = (W - 3 * w) / 4;
    const int columns[3] = {left, W / 2 - w / 2, W - (w + left)};
    const int first = H / 6 + 33;
    const int second = first + H / 7 + 20;
    const int rows[3] = {first, second, second + H / 7 + 20};
    QList<QRect> out;
    for (int row : rows) {
        for (int column : columns)
            out << QRect(column, row, w, h);
    }
    return out;
}

} // namespace corvale
