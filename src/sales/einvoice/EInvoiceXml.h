#pragma once

#include <QByteArray>
#include <QString>

namespace corvale {

struct EInvoiceDocument;

// Writes a document as a FatturaPA file (format FPR12, UTF-8). Texts keep to
// the characters the schema accepts: those outside Latin-1 are replaced
// (the euro sign by "EUR", typographic quotes and dashes by their plain
// forms, anything else by "?"), never sent, and each is cut to its field.
class EInvoiceXml {
public:
    static QByteArray write(const EInvoiceDocument &document);

    // A text as the schema's Latin fields take it, at most `length` characters.
    static QString latin(const QString &text, int length);
    // A text as the schema's basic-Latin fields (codes, numbers) take it.
    static QString basicLatin(const QString &text, int length);
    // Cents as "123.45"; 1e-8 units with two to eight decimals.
    static QString amount2(qint64 cents);
    static QString amount8(qint64 units);
    static QString quantity(qint64 thousandths);
    static QString rate(int hundredths);
};

} // namespace corvale
