#include "documents/LineBarcode.h"

#include "documents/TypedCode.h"
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
    const TypedCode typed = TypedCode::read(code);
    if (!typed.isThirteenDigits() || typed.wrongCheckDigit || typed.colourNumber < 1 ||
        !typed.positionInRange())
        return std::nullopt;
    return LineBarcodeParts{typed.article, typed.colourNumber, typed.position};
}

} // namespace corvale
