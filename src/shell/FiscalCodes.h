#pragma once

#include <QList>
#include <QString>

namespace corvale {

// The code lists of the electronic invoice's schema that the shop chooses
// from: its tax regime and the nature of a line without VAT.
struct FiscalCode {
    QString code;
    QString description;
};

namespace fiscalCodes {

inline const QString ordinaryRegime = QStringLiteral("RF01");
inline const QString flatRateRegime = QStringLiteral("RF19");
// The nature of every line of a shop in the flat-rate regime.
inline const QString flatRateNature = QStringLiteral("N2.2");
inline const QString flatRateReference =
    QStringLiteral("Operazione in franchigia da IVA ai sensi dell'art. 1, commi 54-89, "
                   "L. 190/2014");

const QList<FiscalCode> &regimes();
// Only the natures accepted from 2021: N2, N3 and N6 without a sub-code are refused.
const QList<FiscalCode> &natures();
bool isRegime(const QString &code);
bool isNature(const QString &code);

} // namespace fiscalCodes
} // namespace corvale
