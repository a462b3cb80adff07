#pragma once

#include <QString>

// The store-credit vouchers ("Buono") and the history of each one.
namespace corvale::voucherColumns {

// BUONI: one record a voucher; its number is NUMREG.
inline const QString vouchers = QStringLiteral("BUONI");
inline const QString key = QStringLiteral("NUMREG");
inline const QString barcode = QStringLiteral("BARCODE"); // EAN-13, see catalogue/VoucherCode.h
inline const QString amount = QStringLiteral("IMPORTO");
inline const QString residual = QStringLiteral("RESIDUO");
inline const QString issued = QStringLiteral("DATA");
inline const QString expiry = QStringLiteral("SCADENZA");
inline const QString originSale = QStringLiteral("NUMVEN"); // the return that issued it

// BUONIMOV: what happened to a voucher, in order: its issue, each payment
// taken from it and each payment given back.
inline const QString movements = QStringLiteral("BUONIMOV");
inline const QString movementKey = QStringLiteral("NUMREG");
inline const QString movementVoucher = QStringLiteral("NUMBUONO");
inline const QString movementDate = QStringLiteral("DATA");
inline const QString movementTime = QStringLiteral("ORA");       // "HH:MM:SS"
inline const QString movementAmount = QStringLiteral("IMPORTO"); // + issued or given back, - spent
inline const QString movementSale = QStringLiteral("NUMVEN");
inline const QString movementCause = QStringLiteral("CAUSALE");
inline constexpr int movementCauseLength = 20;

} // namespace corvale::voucherColumns
