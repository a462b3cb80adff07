#pragma once

#include <QString>

namespace corvale {

// The columns of the shop's CONFIG record: its name, address and texts, and the
// fiscal data the electronic invoice needs beside them (the partita IVA stays
// in PIVA, the other fiscal columns came with the upgrade that brought the
// electronic invoice).
namespace shopFiscal {

inline const QString config = QStringLiteral("CONFIG");
inline const QString name = QStringLiteral("RAGIONE");
inline const QString name2 = QStringLiteral("RAGION2");
inline const QString address = QStringLiteral("ADDRESS");
inline const QString city = QStringLiteral("CITTA"); // "CAP - Città" as the shop typed it
inline const QString phone = QStringLiteral("TEL");
inline const QString fax = QStringLiteral("FAX");
inline const QString vatRate = QStringLiteral("IMPOBOL");
inline const QString note = QStringLiteral("NEWANNOTA"); // printed under receipts
inline const QString privacy = QStringLiteral("PRIVACY");
inline const QString password = QStringLiteral("PASSWD");
inline const QString hasLogo = QStringLiteral("ISLOGO");
inline const QString logo = QStringLiteral("LOGO");
inline const QString pointsPerEuro = QStringLiteral("EURO");
inline const QString vatNumber = QStringLiteral("PIVA");              // partita IVA
inline const QString fiscalCode = QStringLiteral("CODFISC");          // codice fiscale, C(16)
inline const QString regime = QStringLiteral("REGFISC");              // RF01..RF19, C(4)
inline const QString postcode = QStringLiteral("CAPFISC");            // CAP as text, C(5)
inline const QString town = QStringLiteral("COMUNE");                 // comune of the seat, C(40)
inline const QString province = QStringLiteral("PROVINCIA");          // C(2)
inline const QString country = QStringLiteral("NAZIONE");             // C(2), "IT"
inline const QString progressive = QStringLiteral("FEPROG");          // last sending progressive
inline const QString transmitterCountry = QStringLiteral("TRASMPAE"); // C(2)
inline const QString transmitterCode = QStringLiteral("TRASMCOD");    // C(28): empty = the shop
inline const QString nature = QStringLiteral("NATURA");               // nature of 0 % lines, C(5)
inline const QString natureReference = QStringLiteral("RIFNORMA");    // C(100)

// Length of the text columns, shared by the layout, the upgrade and the boxes.
constexpr int fiscalCodeLength = 16;
constexpr int regimeLength = 4;
constexpr int postcodeLength = 5;
constexpr int townLength = 40;
constexpr int provinceLength = 2;
constexpr int countryLength = 2;
constexpr int transmitterCodeLength = 28;
constexpr int natureLength = 5;
constexpr int natureReferenceLength = 100;

} // namespace shopFiscal
} // namespace corvale
