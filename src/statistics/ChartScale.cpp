#include "statistics/ChartScale.h"

#include "platform/Formats.h"

namespace corvale {

qint64 ChartScale::takingsTop(double maximum) {
    if (!(maximum > 0))
        return 0;
    qint64 top = Formats::roundHalfEven(maximum);
    if (double(top) < maximum)
        ++top;
    return top;
}

QString ChartScale::takingsLabel(qint64 top, int line) {
    const qint64 tenths = top * (10 - line);
    const qint64 whole = tenths / 10;
    const qint64 fraction = tenths % 10;
    if (fraction == 0)
        return QString::number(whole);
    return QString::number(whole) + Formats::decimalSeparator + QString::number(fraction);
}

qint64 ChartScale::articleTop(qint64 maximum) {
    if (maximum < 10)
        return 10;
    qint64 unit = 1;
    while (maximum / unit >= 10)
        unit *= 10;
    return unit * (maximum / unit + 1);
}

} // namespace corvale
