#pragma once

#include "documents/SheetColumns.h"
#include "purchasing/PaymentColumns.h"

#include <QString>

// The tables and columns of the cash book, shared by the table layouts, the
// book movements, the Prima nota, its printout, its export and the windows.
namespace corvale::cashbook {

// The books: BANK0 cash, BANK1 bank, BANK2 kept without a window, BANK3 other.
enum class Book { Cash = 0, Bank = 1, Fourth = 2, Other = 3 };
inline constexpr int bookCount = 4;

inline QString bookTable(int book) {
    return QStringLiteral("BANK%1").arg(book);
}
inline QString bookTable(Book book) {
    return bookTable(int(book));
}

// Columns of the books.
inline const QString DESCRIZION = QStringLiteral("DESCRIZION");
inline const QString DATA = QStringLiteral("DATA");
inline const QString IMPORTOI = QStringLiteral("IMPORTOI");
inline const QString IMPORTOU = QStringLiteral("IMPORTOU");
inline const QString MYDATA = QStringLiteral("MYDATA");

// The Prima nota work table: DATA, DESCRIZION, BANKkE and BANKkU, MYDATA.
inline const QString primaNota = QStringLiteral("PRIMANOT");
inline QString moneyIn(int book) {
    return QStringLiteral("BANK%1E").arg(book);
}
inline QString moneyOut(int book) {
    return QStringLiteral("BANK%1U").arg(book);
}
// Keys of the two lines of partial totals ("100000000" and "300000000" cut to
// the column's eight characters): they sort before and after every date.
inline const QString carriedKey = QStringLiteral("10000000");
inline const QString periodKey = QStringLiteral("30000000");

// The takings by fiscal receipt of older releases.
inline const QString receipts = QStringLiteral("RICEVUTE");

// What the Prima nota reads of the sales and payments.
inline const QString counterSales = QStringLiteral("VENDITE");
inline const QString invoices = QStringLiteral("FATTURE");
inline const QString payments = paymentColumns::payments;
inline const QString ISBANCA = doc::ISBANCA;
inline const QString TOTALE = doc::TOTALE;
inline const QString DATADOC = doc::DATADOC;
inline const QString NUMDOC = doc::NUMDOC;
inline const QString RAGSOC = doc::RAGSOC;
inline const QString ISCLIENTE = paymentColumns::fromCustomer;
inline const QString ACCONTO = paymentColumns::amount;
inline const QString COMMENTO = paymentColumns::comment;
inline const QString CLIENTE = paymentColumns::party;

} // namespace corvale::cashbook
