#pragma once

#include "documents/TypedCode.h"

#include <QString>

#include <variant>

namespace corvale {

// What a code typed or scanned into a document's code box stands for, once
// the tables have been read.

// An article found by the first six characters of the code (among all
// articles, in use or not), with the colour its number names and the label
// of its size position.
struct CodedLine {
    TypedCode code;
    qint64 article = 0;
    QString colour;    // empty when the code names no known colour
    QString sizeLabel; // empty when the article's size type is not there
    // The code names no colour but the article is stocked by colour: sold
    // without one, the line would lower a stock row the article does not have.
    bool colourToChoose = false;
};

// A code registered among an article's extra codes; the article is in use.
// Colour and size are still to choose.
struct ExtraCode {
    qint64 article = 0;
};

// The barcode of one of the shop's vouchers, which pays and sells nothing.
struct ScannedVoucher {
    qint64 number = 0;
};

struct UnknownCode {
    enum class Reason {
        Empty,
        NoArticle,       // no article (nor extra code) has the code
        SizeOutOfRange,  // the size position is not one of the twenty
        WrongCheckDigit, // thirteen digits that fail their check digit
    };
    Reason reason = Reason::Empty;
};

using DecodedCode = std::variant<CodedLine, ExtraCode, ScannedVoucher, UnknownCode>;

} // namespace corvale
