#pragma once

#include "catalogue/ContactColumns.h"

#include <QString>

namespace corvale {

// Column names of the customer table and of the sale and invoice headers that
// carry a customer's purchases, shared by the balances, the card look-ups and
// the customer archive.
namespace customerColumns {

// CLIENTI
inline const QString customers = contactColumns::customers;
inline const QString code = contactColumns::code;
inline const QString name = contactColumns::name;
inline const QString address = contactColumns::address;
inline const QString cap = contactColumns::cap;
inline const QString city = contactColumns::city;
inline const QString phone = contactColumns::phone;
inline const QString mobile = contactColumns::mobile;
inline const QString fax = contactColumns::fax;
inline const QString email = contactColumns::email;
inline const QString vatNumber = contactColumns::vatOrFiscalCode; // the old single field
// The electronic invoice's fiscal identity (contactColumns names them all).
inline const QString partitaIva = contactColumns::vatNumber;
inline const QString fiscalCode = contactColumns::fiscalCode;
inline const QString recipientCode = contactColumns::recipientCode;
inline const QString card = contactColumns::card;
inline const QString usedPoints = contactColumns::usedPoints;

// VENDITE: counter-sale headers.
inline const QString sales = QStringLiteral("VENDITE");
inline const QString saleCustomer = QStringLiteral("NUMCLI");
inline const QString saleTotal = QStringLiteral("TOTALE");

// FATTURE: invoice headers.
inline const QString invoices = QStringLiteral("FATTURE");
inline const QString invoiceCustomer = QStringLiteral("NUMRAG");
inline const QString invoiceTotal = QStringLiteral("TOTALE");

} // namespace customerColumns
} // namespace corvale
