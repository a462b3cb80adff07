#include "documents/PeriodFilter.h"

namespace corvale {

QStringList PeriodFilter::choices() {
    return {QStringLiteral("< Qualsiasi >"), QStringLiteral("Anno Corrente"),
            QStringLiteral("Mese Corrente"), QStringLiteral("Dal... Al...")};
}

QString PeriodFilter::filterText(Period period, QDate today, const QString &from, const QString &to,
                                 const QString &extra) {
    QString low, high;
    switch (period) {
    case Period::Any:
        return extra;
    case Period::CurrentYear:
        low = today.toString(QStringLiteral("yyyy")) + QStringLiteral("0101");
        high = today.toString(QStringLiteral("yyyy")) + QStringLiteral("1231");
        break;
    case Period::CurrentMonth:
        // The month's own last day: a key ending in "31" would also take in
        // nonsense keys of shorter months.
        low = today.toString(QStringLiteral("yyyyMM")) + QStringLiteral("01");
        high = QDate(today.year(), today.month(), today.daysInMonth())
                   .toString(QStringLiteral("yyyyMMdd"));
        break;
    case Period::Range:
        low = from;
        high = to;
        break;
    }
    QString text = QStringLiteral("((MYDATA >= '") + low + QStringLiteral("') AND (MYDATA <= '") +
                   high + QStringLiteral("'))");
    if (!extra.isEmpty())
        text += QStringLiteral(" AND ") + extra;
    return text;
}

QString PeriodFilter::title(Period period, QDate today, const QString &fromText,
                            const QString &toText, const QString &noun) {
    switch (period) {
    case Period::Any:
        return QStringLiteral("ELENCO COMPLETO ") + noun;
    case Period::CurrentYear:
        return QStringLiteral("ELENCO ") + noun + QStringLiteral(" ESEGUITI NELL'ANNO ") +
               today.toString(QStringLiteral("yyyy"));
    case Period::CurrentMonth:
        return QStringLiteral("ELENCO ") + noun + QStringLiteral(" ESEGUITI NEL MESE ") +
               today.toString(QStringLiteral("MM/yyyy"));
    case Period::Range:
        break;
    }
    return QStringLiteral("ELENCO ") + noun + QStringLiteral(" ESEGUITI DAL ") + fromText +
           QStringLiteral(" AL ") + toText;
}

} // namespace corvale
