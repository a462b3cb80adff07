#pragma once

#include <QString>

namespace corvale {

// The columns of the contact layout that suppliers (FORNITOR) and customers
// (CLIENTI) share, named once for the layout, the contact card and the
// documents that read a contact's fiscal identity.
namespace contactColumns {

inline const QString suppliers = QStringLiteral("FORNITOR");
inline const QString customers = QStringLiteral("CLIENTI");

inline const QString code = QStringLiteral("CODICE");
inline const QString name = QStringLiteral("NOME");
inline const QString address = QStringLiteral("ADDRESS");
inline const QString cap = QStringLiteral("CAP"); // numeric: "00184" is stored as 184
inline const QString city = QStringLiteral("CITTA");
inline const QString email = QStringLiteral("EMAIL");
inline const QString phone = QStringLiteral("TELEFONO");
inline const QString mobile = QStringLiteral("MOBILE");
inline const QString fax = QStringLiteral("FAX");
// The old single field: a partita IVA (11 digits) or a codice fiscale (16).
inline const QString vatOrFiscalCode = QStringLiteral("PIVACF");
inline const QString card = QStringLiteral("BARCODE");        // a customer's card number
inline const QString usedPoints = QStringLiteral("DECPUNTI"); // points a customer spent
// Fiscal identity, apart, since the electronic invoice.
inline const QString vatNumber = QStringLiteral("PARTIVA");     // partita IVA, C(28)
inline const QString fiscalCode = QStringLiteral("CODFISC");    // codice fiscale, C(16)
inline const QString recipientCode = QStringLiteral("CODDEST"); // codice destinatario, C(7)
inline const QString pec = QStringLiteral("PEC");               // C(80)
inline const QString province = QStringLiteral("PROVINCIA");    // C(2)
inline const QString country = QStringLiteral("NAZIONE");       // C(2): empty means IT

constexpr int vatNumberLength = 28;
constexpr int fiscalCodeLength = 16;
constexpr int recipientCodeLength = 7;
constexpr int pecLength = 80;
constexpr int provinceLength = 2;
constexpr int countryLength = 2;

} // namespace contactColumns
} // namespace corvale
