#pragma once

#include <QString>

namespace corvale {

// The filter of the label list from the two search fields: a code of exactly
// thirteen characters is one barcode, a shorter one the codes beginning with
// it; a description the descriptions beginning with it. Empty when both
// fields are.
class LabelFilter {
public:
    static constexpr int fullCodeLength = 13;

    static QString build(const QString &code, const QString &description);
};

} // namespace corvale
