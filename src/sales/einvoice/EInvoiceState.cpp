#include "sales/einvoice/EInvoiceState.h"

namespace corvale {

QString stateText(EInvoiceState state) {
    switch (state) {
    case EInvoiceState::None:
        return {};
    case EInvoiceState::Written:
        return QStringLiteral("Scritta");
    case EInvoiceState::Sent:
        return QStringLiteral("Inviata");
    case EInvoiceState::Delivered:
        return QStringLiteral("Consegnata");
    case EInvoiceState::NotDelivered:
        return QStringLiteral("Non recapitata");
    case EInvoiceState::Rejected:
        return QStringLiteral("Scartata");
    }
    return {};
}

EInvoiceState stateFromValue(qint64 value) {
    if (value < 0 || value > qint64(EInvoiceState::Rejected))
        return EInvoiceState::None;
    return EInvoiceState(value);
}

bool isOnItsWay(EInvoiceState state) {
    return state == EInvoiceState::Sent || state == EInvoiceState::Delivered ||
           state == EInvoiceState::NotDelivered;
}

bool isDelivered(EInvoiceState state) {
    return state == EInvoiceState::Delivered || state == EInvoiceState::NotDelivered;
}

} // namespace corvale
