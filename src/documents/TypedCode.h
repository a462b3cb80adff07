#pragma once

#include <QString>

namespace corvale {

// What the characters of a code typed or scanned into a code box say, before
// any table is read. The first six characters name the article; a line
// barcode carries the colour number + 100 in characters 7 to 9 and the size
// position + 100 in characters 10 to 12, then its EAN-13 check digit. A part
// that is missing or not a number gives colour 0 (none) and size position 1,
// so that the bare article code is position 1 of no colour.
struct TypedCode {
    QString text;    // as typed, without the blanks around it
    QString article; // its first six characters
    qint64 colourNumber = 0;
    int position = 1;
    // Thirteen digits whose last one is not their check digit: a misread
    // scan or a mistyped code, whose other digits cannot be trusted either.
    bool wrongCheckDigit = false;

    static TypedCode read(const QString &code);

    bool isEmpty() const { return text.isEmpty(); }
    bool isThirteenDigits() const;
    // A position outside the twenty has no stock cell to move.
    bool positionInRange() const;
};

} // namespace corvale
