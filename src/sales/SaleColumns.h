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

// The extra codes of an article (BARCODE.DBF): NUMREG is the article.
inline const QString extraCodes = QStringLiteral("BARCODE");
inline const QString extraCodeArticle = QStringLiteral("NUMREG");
inline const QString extraCode = QStringLiteral("BARCODE");

inline const QString iniGeneral = QStringLiteral("GENERALI");
inline const QString iniChange = QStringLiteral("CALCRESTO");
inline const QString iniPermanent = QStringLiteral("VENDBANCO");

} // namespace corvale::saleColumns
