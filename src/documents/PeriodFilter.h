#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace corvale {

// The period of an archive list over the date key MYDATA: any, the current
// year, the current month (to its real last day) or "Dal... Al...".
class PeriodFilter {
public:
    enum class Period { Any, CurrentYear, CurrentMonth, Range };

    static QStringList choices();
    static Period periodAt(int index) { return Period(index); }

    // The filter text; `extra` (an article condition, say) is joined with
    // " AND ". `from` and `to` are the date keys of "DAL" and "AL".
    static QString filterText(Period period, QDate today, const QString &from, const QString &to,
                              const QString &extra = {});
    // The printed title of the list: "ELENCO COMPLETO " + `noun` and so on.
    static QString title(Period period, QDate today, const QString &fromText, const QString &toText,
                         const QString &noun);
};

} // namespace corvale
