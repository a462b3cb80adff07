#pragma once

#include <QString>
#include <QtGlobal>

namespace corvale {

// The scales of the two charts: ten grid lines under a top value.
class ChartScale {
public:
    // The takings chart's top: the largest value rounded to the nearest
    // integer (halves to even), one more when that falls short of it; 0 when
    // nothing is above 0.
    static qint64 takingsTop(double maximum);

    // The label of grid line n (0 the top line .. 9 the lowest): the value the
    // line stands for, top × (10 − n) ÷ 10, with its one decimal when it has
    // one. A top below 10, or not a multiple of 10, would otherwise repeat or
    // misplace the labels ("5" on every line of a top of 5).
    static QString takingsLabel(qint64 top, int line);

    // The article chart's top: the next multiple of the leading digit's unit
    // above the largest quantity, at least 10 (37 → 40, 40 → 50, 120 → 200).
    static qint64 articleTop(qint64 maximum);
};

} // namespace corvale
