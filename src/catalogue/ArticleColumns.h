#pragma once

#include <QString>

namespace corvale {

// Column names of the article tables, shared by their layouts and by the
// windows, filters, label preparation and printouts that read them.
namespace articleColumns {

// ARTICOLI
inline const QString articles = QStringLiteral("ARTICOLI");
inline const QString key = QStringLiteral("NUMREG");
inline const QString code = QStringLiteral("BARCODE");
inline const QString description = QStringLiteral("DESCRIZION");
inline const QString brand = QStringLiteral("MARCHIO");
inline const QString brandKey = QStringLiteral("N_MARCHI");
inline const QString typology = QStringLiteral("TIPOLOGIA");
inline const QString typologyKey = QStringLiteral("NUMTIPO");
inline const QString material = QStringLiteral("MATERIALE");
inline const QString materialKey = QStringLiteral("NUMMATE");
inline const QString sole = QStringLiteral("FONDO");
inline const QString heel = QStringLiteral("TACCO");
inline const QString wedge = QStringLiteral("ZEPPA");
inline const QString category = QStringLiteral("CATEGORIA");
inline const QString categoryKey = QStringLiteral("N_CAT");
inline const QString supplier = QStringLiteral("FORNITORE");
inline const QString supplierKey = QStringLiteral("N_FOR");
inline const QString markup = QStringLiteral("RICARICO");
inline const QString vat = QStringLiteral("IVA");
inline const QString unit = QStringLiteral("UM");
inline const QString sizeType = QStringLiteral("TIPOTAGLIA");
inline const QString sizeTypeName = QStringLiteral("MISURA");
inline const QString purchasePrice = QStringLiteral("PREZZOACQ");
inline const QString salePrice = QStringLiteral("PREZZOVND");
inline const QString discount = QStringLiteral("SCONTO");
inline const QString season = QStringLiteral("STAGIONE");
inline const QString year = QStringLiteral("ANNO");
inline const QString photo = QStringLiteral("FOTO");
inline const QString inUse = QStringLiteral("INUSO");
// The calculated price of the list: discounted or not.
inline const QString shownPrice = QStringLiteral("cPRZ");

// ARCARTTG (stock matrix) and TAGLIE (size types): TG1..TG20.
inline const QString stock = QStringLiteral("ARCARTTG");
inline const QString stockArticle = QStringLiteral("ARTCODE");
inline const QString colour = QStringLiteral("COLORE");
inline const QString sizeTypes = QStringLiteral("TAGLIE");
inline QString sizeCell(int n) {
    return QStringLiteral("TG%1").arg(n);
}
inline constexpr int sizeCount = 20;
// TAGLIE: the core sizes of a size type, the positions from NUCLEODA to
// NUCLEOA; 0 in both when the shop has not chosen them.
inline const QString coreFrom = QStringLiteral("NUCLEODA");
inline const QString coreTo = QStringLiteral("NUCLEOA");

// COLORI, BARCODE (further codes of an article), ELEMENTI (the label list).
// COLORI keys its colours (COLORE) by NUMREG, as TAGLIE keys its size types.
inline const QString colours = QStringLiteral("COLORI");
inline const QString furtherCodes = QStringLiteral("BARCODE");
inline const QString furtherCodeArticle = QStringLiteral("NUMREG");
inline const QString furtherCode = QStringLiteral("BARCODE");
inline const QString sheet = QStringLiteral("ELEMENTI");
inline const QString sheetArticle = QStringLiteral("CODICE");
inline const QString sheetSizeLabel = QStringLiteral("CTAGLIA");
inline const QString sheetPrice = QStringLiteral("PRZVND");
inline const QString sheetLabels = QStringLiteral("LABELS");

// The lines of the stock documents (ARCART_A, ARCART_R, ARCART_O, ARCART_V),
// as the stock routines move the matrix by them; the colour is `colour`.
inline const QString lineArticle = QStringLiteral("NUMART");
inline const QString lineSize = QStringLiteral("TAGLIA"); // the size position, 1..20
inline const QString lineQuantity = QStringLiteral("QUANTITA");
inline const QString lineDate = QStringLiteral("DATAREG");
// Sale lines only: false on a line given back.
inline const QString lineIsSale = QStringLiteral("TIPO");

// The lists of names (MARCHI, CATEGOR, MATERIAL, FONDI, TIPOLOGI, MISURE and
// STAGIONI): NUMREG and NOME.
inline const QString listName = QStringLiteral("NOME");

} // namespace articleColumns

} // namespace corvale
