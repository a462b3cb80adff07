#include "catalogue/CapitalsValidator.h"

namespace corvale {

QValidator::State CapitalsValidator::validate(QString &input, int &) const {
    input = input.toUpper();
    return Acceptable;
}

} // namespace corvale
