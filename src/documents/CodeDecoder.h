#pragma once

#include "documents/TypedCode.h"

#include <QString>

#include <memory>
#include <optional>
#include <variant>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

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

// Reads codes for the sale and the invoice: one set of table handles, opened
// on the first code and kept until close().
class CodeDecoder {
public:
    // The counter sale gives a code a second chance among the extra codes;
    // the invoice, which has no size panel to choose colour and size, does not.
    enum class Search { ArticleCodes, ArticleAndExtraCodes };

    static inline const QString articleMissingText = QStringLiteral("Articolo inesistente!");
    static inline const QString sizeMissingText = QStringLiteral("Taglia inesistente nel codice!");
    static inline const QString checkDigitText =
        QStringLiteral("Cifra di controllo errata: controllare il codice!");

    explicit CodeDecoder(db::Database &database);
    ~CodeDecoder();

    // Opens the tables again (after the database was closed, say).
    void open();
    void close();

    // Throws db::Error.
    DecodedCode decode(const QString &code, Search search);

    // The ARTICOLI record of the last CodedLine, until the next decode.
    const db::Table &article() const { return *m_articles; }

private:
    void ensureOpen();
    bool stockedByColour(qint64 article);
    std::optional<qint64> extraCodeArticle(const QString &code);

    std::unique_ptr<db::Table> m_articles;
    std::unique_ptr<db::Table> m_colours;
    std::unique_ptr<db::Table> m_sizes;
    std::unique_ptr<db::Table> m_extraCodes;
    std::unique_ptr<db::Table> m_articlesByKey;
    std::unique_ptr<db::Table> m_stock;
};

} // namespace corvale
