#pragma once

#include <QValidator>

namespace corvale {

// Turns whatever is typed into capitals, as the search and code boxes want it.
class CapitalsValidator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

} // namespace corvale
