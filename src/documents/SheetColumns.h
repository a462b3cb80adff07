#pragma once

#include "catalogue/ArticleColumns.h"

#include <QString>

// The column names the document windows, their saves and their printouts share:
// those of the line sheet ELEMENTI, of the document lines and of the headers.
namespace corvale::sheet {

inline const QString table = QStringLiteral("ELEMENTI");
inline const QString NUMREG = QStringLiteral("NUMREG");
inline const QString BARCODE = QStringLiteral("BARCODE");
inline const QString DESCRIZION = QStringLiteral("DESCRIZION");
inline const QString MARCHIO = QStringLiteral("MARCHIO");
inline const QString MISURA = QStringLiteral("MISURA");
inline const QString COLORE = QStringLiteral("COLORE");
inline const QString CTAGLIA = QStringLiteral("CTAGLIA");
inline const QString QUANTITA = QStringLiteral("QUANTITA");
inline const QString PREZZO = QStringLiteral("PREZZO");
inline const QString CODICE = QStringLiteral("CODICE");
inline const QString TIPOTAGLIA = QStringLiteral("TIPOTAGLIA");
inline const QString TAGLIA = QStringLiteral("TAGLIA");
inline const QString PRZVND = QStringLiteral("PRZVND");
inline const QString LABELS = QStringLiteral("LABELS");
inline const QString SCONTO = QStringLiteral("SCONTO");
inline const QString IVA = QStringLiteral("IVA");
// Calculated, never stored.
inline const QString cIMPORTO = QStringLiteral("cIMPORTO");
inline const QString cColore = QStringLiteral("cColore");
inline const QString fTAGLIA = QStringLiteral("fTAGLIA");

} // namespace corvale::sheet

namespace corvale::doc {

// Document headers (CARICHI, RESI, ORDINI, VENDITE, FATTURE).
inline const QString NUMREG = QStringLiteral("NUMREG");
inline const QString NUMDOC = QStringLiteral("NUMDOC");
inline const QString DATADOC = QStringLiteral("DATADOC");
inline const QString MYDATA = QStringLiteral("MYDATA");
inline const QString NUMCAR = QStringLiteral("NUMCAR");
inline const QString NUMPEZZI = QStringLiteral("NUMPEZZI");
inline const QString RAGSOC = QStringLiteral("RAGSOC");
inline const QString NUMRAG = QStringLiteral("NUMRAG");
inline const QString IMPONIBILE = QStringLiteral("IMPONIBILE");
inline const QString IMPOSTA = QStringLiteral("IMPOSTA");
inline const QString TOTALE = QStringLiteral("TOTALE");
inline const QString SCONTO = QStringLiteral("SCONTO");
inline const QString FINDV = QStringLiteral("FINDV");
// Paid into the bank ("Versamento in Banca"): CARICHI, VENDITE, FATTURE.
inline const QString ISBANCA = QStringLiteral("ISBANCA");

// Document lines (ARCART_A, ARCART_R, ARCART_O, ARCART_V).
inline const QString NUMART = articleColumns::lineArticle;
inline const QString IMPORTO = QStringLiteral("IMPORTO");
inline const QString DATAREG = articleColumns::lineDate;
inline const QString SCOVND = QStringLiteral("SCOVND");
inline const QString TIPO = articleColumns::lineIsSale;

} // namespace corvale::doc
