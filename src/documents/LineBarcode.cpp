#include "documents/LineBarcode.h"

#include "shell/CommonRoutines.h"

#include <stdexcept>

namespace corvale {

std::optional<QString> lineBarcode(const QString &articleCode, qint64 colourNumber, int position) {
    const QString prefix = articleCode.trimmed().left(6);
    if (prefix.size() != 6 || colourNumber < 1 || colourNumber > 899 || position < 1 ||
        position > 20)
        return std::nullopt;
    const QString twelve =
        prefix + QString::number(colourNumber + 100) + QString::number(position + 100);
    try {
        return CommonRoutines::EanCheckDigit(twelve);
    } catch (const std::invalid_argument &) {
        return std::nullopt;
    }
}

std::optional<LineBarcodeParts> readLineBarcode(const QString &code) {
    const QString c = code.trimmed();
    if (c.size() != 13)
        return std::nullopt;
    bool okColour = false, okSize = false;
    const int colour = c.mid(6, 3).toInt(&okColour);
    const int size = c.mid(9, 3).toInt(&okSize);
    if (!okColour || !okSize || colour < 101 || size < 101 || size > 120)
        return std::nullopt;
    try {
        if (CommonRoutines::EanCheckDigit(c.left(12)) != c)
            return std::nullopt;
    } catch (const std::invalid_argument &) {
        return std::nullopt;
    }
    return LineBarcodeParts{c.left(6), colour - 100, size - 100};
}

} // namespace corvale
