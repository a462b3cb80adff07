#pragma once

#include <QString>
#include <optional>

namespace corvale {

// The barcode of one document line: the first six characters of the article's
// code, the colour number + 100, the size position + 100 and the EAN-13 check
// digit. Nothing when the parts cannot make a valid EAN-13: an article code of
// fewer than six digits, or a colour number outside 1..899 (which would push
// the size out of its place).
std::optional<QString> lineBarcode(const QString &articleCode, qint64 colourNumber, int position);

// Colour number and size position read back from a line barcode (characters 7
// to 9 and 10 to 12); nothing when the code is not one.
struct LineBarcodeParts {
    QString articlePrefix;
    qint64 colourNumber = 0;
    int position = 0;
};
std::optional<LineBarcodeParts> readLineBarcode(const QString &code);

} // namespace corvale
