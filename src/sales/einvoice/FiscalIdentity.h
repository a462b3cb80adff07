#pragma once

#include <QString>

namespace corvale {

// A partita IVA and a codice fiscale as the shop typed them: capitals, no
// blanks, an "IT" in front of a partita IVA left out.
struct FiscalIdentity {
    QString vatNumber;  // partita IVA
    QString fiscalCode; // codice fiscale

    // `vat` and `fiscal` from the new fields; when both are empty, the old
    // single field `old` is read: 11 digits are a partita IVA, 16 characters a
    // codice fiscale.
    static FiscalIdentity of(const QString &vat, const QString &fiscal, const QString &old);
    static QString clean(const QString &text);

    // The check digit of an Italian partita IVA.
    static bool isValidVatNumber(const QString &vat);
    // A person's code (16 characters in the official pattern) or a company's
    // (11 digits, like a partita IVA).
    static bool isValidFiscalCode(const QString &code);
    // The check character of the first 15 characters of a person's code.
    static QChar checkCharacter(const QString &first15);
};

} // namespace corvale
