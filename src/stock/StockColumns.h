#pragma once

#include <QString>

// The tables and columns the stock reports read and the work tables they own.
// Article columns come from catalogue/ArticleColumns.h, line columns shared with
// the documents from documents/SheetColumns.h.
namespace corvale::stockColumns {

// Document line tables: receipts, returns to suppliers, sales and invoices.
inline const QString receiptLines = QStringLiteral("ARCART_A");
inline const QString returnLines = QStringLiteral("ARCART_R");
inline const QString saleLines = QStringLiteral("ARCART_V");
inline const QString NUMVEN = QStringLiteral("NUMVEN");
inline const QString PREZZO = QStringLiteral("PREZZO");

// Document headers.
inline const QString receipts = QStringLiteral("CARICHI");
inline const QString returns = QStringLiteral("RESI");
inline const QString sales = QStringLiteral("VENDITE");
inline const QString invoices = QStringLiteral("FATTURE");

// Name lists of the filter bars.
inline const QString suppliers = QStringLiteral("FORNITOR");
inline const QString brands = QStringLiteral("MARCHI");
inline const QString categories = QStringLiteral("CATEGOR");
inline const QString NOME = QStringLiteral("NOME");
inline const QString CODICE = QStringLiteral("CODICE");
inline const QString supplierKey = QStringLiteral("N_FOR");

// TABLE1: stock levels of one size type.
inline const QString levels = QStringLiteral("TABLE1");
inline const QString ARTICOLO = QStringLiteral("ARTICOLO");
inline const QString N_STAGIONI = QStringLiteral("N_STAGIONI");

// TABLE4 (lines found) and TABLE5 (the list shown): the article history.
inline const QString historyLines = QStringLiteral("TABLE4");
inline const QString history = QStringLiteral("TABLE5");
inline const QString ARCHIVIO = QStringLiteral("ARCHIVIO");
inline const QString PREZZOA = QStringLiteral("PREZZOA");
inline const QString PREZZOV = QStringLiteral("PREZZOV");
inline const QString CLIENTE = QStringLiteral("CLIENTE");
inline const QString TD = QStringLiteral("TD");
inline const QString NUMERO = QStringLiteral("NUMERO");
inline const QString DATA = QStringLiteral("DATA");
inline const QString CLIDATA = QStringLiteral("CLIDATA");

// Calculated columns of the inventory's article list.
namespace inventory {
inline const QString previous = QStringLiteral("cGiacPrec");
inline const QString loads = QStringLiteral("cCARICHI");
inline const QString sales = QStringLiteral("cSCARICHI");
inline const QString stock = QStringLiteral("cDeposito");
inline const QString value = QStringLiteral("cVALORE");
} // namespace inventory

// Calculated columns of the load and unload summary's article list.
namespace movements {
inline const QString loads = QStringLiteral("cCARICHI");
inline const QString purchases = QStringLiteral("cACQUISTI");
inline const QString unloads = QStringLiteral("cSCARICHI");
inline const QString sales = QStringLiteral("cVENDITE");
inline const QString margin = QStringLiteral("cRICAVO");
} // namespace movements

} // namespace corvale::stockColumns
