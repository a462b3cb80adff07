#pragma once

#include <QString>

namespace corvale {

// The columns of FATTURE that the electronic invoice added: what kind of
// document the record is, the invoice a credit note gives back, and the file
// sent to the exchange system with its state.
namespace einvoiceColumns {

inline const QString documentType = QStringLiteral("TIPODOC");   // "TD01" (empty too) or "TD04"
inline const QString creditedInvoice = QStringLiteral("NUMRIF"); // NUMREG of the credited invoice
inline const QString fileName = QStringLiteral("FEFILE");        // the XML file's name
inline const QString state = QStringLiteral("FESTATO");          // EInvoiceState
inline const QString notes = QStringLiteral("FENOTE");           // the exchange system's words

constexpr int documentTypeLength = 4;
constexpr int fileNameLength = 40;
constexpr int notesLength = 100;

inline const QString invoiceType = QStringLiteral("TD01");
inline const QString creditNoteType = QStringLiteral("TD04");

} // namespace einvoiceColumns
} // namespace corvale
