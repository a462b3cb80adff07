#pragma once

#include <QString>

namespace corvale {

// Where a counter sale stands with the telematic register, as VENDITE.NFSTATO
// keeps it. A sale the register took, or one of a serial register, is
// Ordinary; a sale stored while the register could not be reached waits as
// Pending until it is sent, or until it is marked as written by hand in the
// emergency register of takings. A sale whose sending the register did not
// confirm (it may have printed it) is Unconfirmed: it goes out again only
// after the operator has checked the register.
enum class SaleFiscalState {
    Ordinary = 0,
    Pending = 1,    // "non fiscalizzata"
    ByHand = 2,     // "registrata a mano"
    Unconfirmed = 3 // "da verificare"
};

// Still to reach the register.
inline bool isWaiting(SaleFiscalState state) {
    return state == SaleFiscalState::Pending || state == SaleFiscalState::Unconfirmed;
}

// The state of a stored value; a blank or unknown value is an ordinary sale.
inline SaleFiscalState saleFiscalState(qint64 value) {
    switch (value) {
    case 1:
        return SaleFiscalState::Pending;
    case 2:
        return SaleFiscalState::ByHand;
    case 3:
        return SaleFiscalState::Unconfirmed;
    default:
        return SaleFiscalState::Ordinary;
    }
}

// The state in words, as the archives show it; empty for an ordinary sale.
inline QString saleFiscalStateText(SaleFiscalState state) {
    switch (state) {
    case SaleFiscalState::Pending:
        return QStringLiteral("Non fiscalizzata");
    case SaleFiscalState::ByHand:
        return QStringLiteral("Registrata a mano");
    case SaleFiscalState::Unconfirmed:
        return QStringLiteral("Da verificare");
    case SaleFiscalState::Ordinary:
        break;
    }
    return {};
}

} // namespace corvale
