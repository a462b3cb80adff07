#pragma once

#include <QString>

#include <optional>

// The barcodes of the shop's store-credit vouchers ("Buono"): EAN-13 codes in
// a range of their own, "299" followed by the voucher's number in nine digits
// and the check digit. No article code may start with the prefix, so that a
// scanned voucher is never taken for an article.
namespace corvale::voucherCode {

inline const QString prefix = QStringLiteral("299");
inline constexpr qint64 largestNumber = 999999999;

inline const QString reservedText = QStringLiteral(
    "I codici che iniziano con 299 sono riservati ai buoni: scegliere un altro codice.");

// The EAN-13 check digit of twelve digits.
int checkDigit(const QString &twelveDigits);
// The barcode of voucher `number` (1 to largestNumber).
QString barcode(qint64 number);
// The voucher a scanned barcode or a typed number names; nothing for any
// other text (a wrong check digit included).
std::optional<qint64> number(const QString &text);
// An article code that would fall in the vouchers' range.
bool isReserved(const QString &articleCode);

} // namespace corvale::voucherCode
