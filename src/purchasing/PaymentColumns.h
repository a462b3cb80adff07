#pragma once

#include <QString>

// ACCONTI: the payments to suppliers and the deposits of customers, as the
// payment window, the supplier statements, the supplier archive and the Prima
// nota read them. The layout is gathered with the sale tables; the names live
// here, in the lowest folder that reads the table.
namespace corvale::paymentColumns {

inline const QString payments = QStringLiteral("ACCONTI");
inline const QString key = QStringLiteral("NUMREG");
inline const QString partyKey = QStringLiteral("NUMCLI"); // the supplier's or customer's code
inline const QString party = QStringLiteral("CLIENTE");   // its name
inline const QString fromCustomer = QStringLiteral("ISCLIENTE");
inline const QString comment = QStringLiteral("COMMENTO");
inline const QString amount = QStringLiteral("ACCONTO");
inline const QString date = QStringLiteral("DATA"); // "dd/mm/yyyy"
inline const QString dateKey = QStringLiteral("MYDATA");
inline const QString toBank = QStringLiteral("ISBANCA");

} // namespace corvale::paymentColumns
