#pragma once

#include "documents/CodeDecoder.h"
#include "sales/SaleLine.h"

#include <QString>

namespace corvale {

namespace db {
class Database;
}

// What a code typed or scanned at the counter makes (CodeDecoder, extra codes
// included). A line barcode, or an article's code with or without its colour,
// makes a line at once; a code that gives no colour makes one only for an
// article without stock by colour, such as an accessory: for the others, as
// for an extra code, the colour and size are still to choose.
class SaleCodeLookup {
public:
    struct Result {
        enum class Kind {
            Line,       // `line` is the complete line
            ChooseSize, // `article` is the article, its colour and size still to choose
            NotFound    // `refusal` says why, under the code
        };
        Kind kind = Kind::NotFound;
        SaleLine line;
        qint64 article = 0;
        QString refusal = CodeDecoder::articleMissingText;
    };

    explicit SaleCodeLookup(db::Database &database);

    void open() { m_decoder.open(); }
    void close() { m_decoder.close(); }

    // Throws db::Error.
    Result find(const QString &code);

private:
    CodeDecoder m_decoder;
};

} // namespace corvale
