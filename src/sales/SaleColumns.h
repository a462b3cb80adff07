#pragma once

#include <QString>

// The columns of the counter-sale header VENDITE beyond those every document
// header has (documents/SheetColumns.h), and the "Dati.ini" keys a sale reads.
namespace corvale::saleColumns {

inline const QString headerTable = QStringLiteral("VENDITE");
inline const QString CLIENTE = QStringLiteral("CLIENTE");
inline const QString BARCODE = QStringLiteral("BARCODE"); // the customer's card number
inline const QString ISBANCA = QStringLiteral("ISBANCA");
inline const QString TIPO = QStringLiteral("TIPO");

// --- What a telematic register gave the sale (VENDITE only, not RICEVUTE) ---
inline const QString rtNumber = QStringLiteral("RTNUMERO");    // document number
inline const QString rtClosure = QStringLiteral("RTCHIUSURA"); // closure number
inline const QString rtDate = QStringLiteral("RTDATA");
inline const QString rtTime = QStringLiteral("RTORA"); // "HH:MM:SS"
inline const QString rtSerial = QStringLiteral("RTMATRIC");
inline const QString paidCash = QStringLiteral("PAGCONT");
inline const QString paidCard = QStringLiteral("PAGELETT");
inline const QString paidVoucher = QStringLiteral("PAGBUONO");
inline const QString lotteryCode = QStringLiteral("LOTTERIA");
inline const QString customerTaxCode = QStringLiteral("CFCLIENTE");
// A void's copy holds the key of the sale it voids, the voided sale the
// key of its void.
inline const QString voidLink = QStringLiteral("RIFVEN");
// --- Same-day size exchange: the return and the sale it is made of hold
// each other's key (a plain sale or return holds none).
inline const QString exchangeLink = QStringLiteral("RIFCAMBIO");
// --- end size exchange
inline constexpr int rtTimeLength = 8;
inline constexpr int rtSerialLength = 20;
inline constexpr int lotteryCodeLength = 8;
inline constexpr int customerTaxCodeLength = 16;

// --- A sale stored while the telematic register could not be reached ---
// NFSTATO holds the SaleFiscalState (blank: an ordinary sale), NFORA the time
// the sale was stored, for the manual register ("HH:MM:SS").
inline const QString fiscalState = QStringLiteral("NFSTATO");
inline const QString offlineTime = QStringLiteral("NFORA");

// CHIUSURE: the daily closures ("Chiusura giornaliera", Z) the RT made.
inline const QString closures = QStringLiteral("CHIUSURE");
inline const QString closureKey = QStringLiteral("NUMREG");
inline const QString closureDate = QStringLiteral("DATA");
inline const QString closureTime = QStringLiteral("ORA");
inline const QString closureDateKey = QStringLiteral("MYDATA");
inline const QString closureNumber = QStringLiteral("NUMERO");
inline const QString closureTotal = QStringLiteral("TOTALE");
inline const QString closureSerial = QStringLiteral("MATRICOLA");

inline const QString iniGeneral = QStringLiteral("GENERALI");
inline const QString iniChange = QStringLiteral("CALCRESTO");
inline const QString iniPermanent = QStringLiteral("VENDBANCO");

} // namespace corvale::saleColumns
