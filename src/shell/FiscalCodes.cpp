#include "shell/FiscalCodes.h"

namespace corvale::fiscalCodes {

namespace {

bool contains(const QList<FiscalCode> &list, const QString &code) {
    for (const FiscalCode &c : list) {
        if (c.code == code)
            return true;
    }
    return false;
}

} // namespace

const QList<FiscalCode> &regimes() {
    static const QList<FiscalCode> list = {
        {QStringLiteral("RF01"), QStringLiteral("Ordinario")},
        {QStringLiteral("RF02"), QStringLiteral("Contribuenti minimi")},
        {QStringLiteral("RF04"), QStringLiteral("Agricoltura e pesca")},
        {QStringLiteral("RF05"), QStringLiteral("Vendita sali e tabacchi")},
        {QStringLiteral("RF06"), QStringLiteral("Commercio dei fiammiferi")},
        {QStringLiteral("RF07"), QStringLiteral("Editoria")},
        {QStringLiteral("RF08"), QStringLiteral("Servizi di telefonia pubblica")},
        {QStringLiteral("RF09"), QStringLiteral("Rivendita documenti di trasporto e sosta")},
        {QStringLiteral("RF10"), QStringLiteral("Intrattenimenti e giochi")},
        {QStringLiteral("RF11"), QStringLiteral("Agenzie di viaggi e turismo")},
        {QStringLiteral("RF12"), QStringLiteral("Agriturismo")},
        {QStringLiteral("RF13"), QStringLiteral("Vendite a domicilio")},
        {QStringLiteral("RF14"), QStringLiteral("Rivendita di beni usati e d'arte")},
        {QStringLiteral("RF15"), QStringLiteral("Vendite all'asta di oggetti d'arte")},
        {QStringLiteral("RF16"), QStringLiteral("IVA per cassa P.A.")},
        {QStringLiteral("RF17"), QStringLiteral("IVA per cassa")},
        {QStringLiteral("RF18"), QStringLiteral("Altro")},
        {QStringLiteral("RF19"), QStringLiteral("Forfettario")},
    };
    return list;
}

const QList<FiscalCode> &natures() {
    static const QList<FiscalCode> list = {
        {QStringLiteral("N1"), QStringLiteral("Escluse ex art. 15")},
        {QStringLiteral("N2.1"), QStringLiteral("Non soggette, artt. da 7 a 7-septies")},
        {QStringLiteral("N2.2"), QStringLiteral("Non soggette, altri casi")},
        {QStringLiteral("N3.1"), QStringLiteral("Non imponibili, esportazioni")},
        {QStringLiteral("N3.2"), QStringLiteral("Non imponibili, cessioni intracomunitarie")},
        {QStringLiteral("N3.3"), QStringLiteral("Non imponibili, cessioni verso San Marino")},
        {QStringLiteral("N3.4"), QStringLiteral("Non imponibili, assimilate alle esportazioni")},
        {QStringLiteral("N3.5"), QStringLiteral("Non imponibili, dichiarazioni d'intento")},
        {QStringLiteral("N3.6"), QStringLiteral("Non imponibili, altre operazioni")},
        {QStringLiteral("N4"), QStringLiteral("Esenti")},
        {QStringLiteral("N5"), QStringLiteral("Regime del margine")},
        {QStringLiteral("N7"), QStringLiteral("IVA assolta in altro stato UE")},
    };
    return list;
}

bool isRegime(const QString &code) {
    return contains(regimes(), code);
}

bool isNature(const QString &code) {
    return contains(natures(), code);
}

} // namespace corvale::fiscalCodes
