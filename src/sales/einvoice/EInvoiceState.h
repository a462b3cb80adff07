#pragma once

#include <QString>

namespace corvale {

// Where an invoice's file is on its way to the customer (FATTURE.FESTATO).
enum class EInvoiceState {
    None = 0,         // no file yet
    Written = 1,      // "Scritta": in archivio/FE, waiting to go
    Sent = 2,         // "Inviata": marked by the user, or taken by the intermediary
    Delivered = 3,    // "Consegnata": the delivery receipt came back
    NotDelivered = 4, // "Non recapitata": in the customer's reserved area
    Rejected = 5,     // "Scartata": the exchange system refused it
};

QString stateText(EInvoiceState state);
EInvoiceState stateFromValue(qint64 value);
// Once sent, the file is the exchange system's: it is never written again.
bool isOnItsWay(EInvoiceState state);
// The invoice reached its customer (or the reserved area, which counts as issued).
bool isDelivered(EInvoiceState state);

} // namespace corvale
