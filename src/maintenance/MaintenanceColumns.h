#pragma once

#include <QString>

namespace corvale {

// The columns the table check reads, as the document and catalogue layouts name them.
namespace maintenanceColumns {

inline const QString key = QStringLiteral("NUMREG");
inline const QString partyKey = QStringLiteral("CODICE");
inline const QString lineArticle = QStringLiteral("NUMART");
inline const QString lineSize = QStringLiteral("TAGLIA");
inline const QString purchaseLineDocument = QStringLiteral("NUMCAR");
inline const QString saleLineDocument = QStringLiteral("NUMVEN");
inline const QString noteDate = QStringLiteral("DATAREG");

} // namespace maintenanceColumns

} // namespace corvale
