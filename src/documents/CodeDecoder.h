#pragma once

#include "documents/DecodedCode.h"

#include <QString>

#include <memory>
#include <optional>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

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
