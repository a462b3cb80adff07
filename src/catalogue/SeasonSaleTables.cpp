#include "catalogue/SeasonSaleTables.h"

#include "catalogue/SeasonSaleColumns.h"

namespace corvale {

using namespace columns;

TableLayouts seasonSaleTables() {
    namespace c = seasonSaleColumns;
    TableLayouts out;
    out << TableLayout{c::history,
                       {recordNumber(c::historyArticle), date(c::historyDay), money(c::historyList),
                        percent(c::historyDiscount), money(c::historyPrice),
                        text(c::historyCause, c::causeLength), recordNumber(c::historyCampaign)},
                       tags({c::historyArticle, c::historyCampaign})};
    out << TableLayout{c::campaigns,
                       {recordNumber(c::campaignKey), text(c::campaignName, c::campaignNameLength),
                        date(c::campaignFirst), date(c::campaignLast),
                        number(c::campaignKind, 1, 0), recordNumber(c::campaignValue),
                        text(c::campaignSeason, c::seasonNameLength), number(c::campaignYear, 4, 0),
                        percent(c::campaignPercent), money(c::campaignPrice)},
                       tags({c::campaignKey})};
    out << TableLayout{c::campaignArticles,
                       {recordNumber(c::campaignKey), recordNumber(c::campaignArticle)},
                       tags({c::campaignKey})};
    out << TableLayout{
        c::seasons, {text(c::seasonName, c::seasonNameLength)}, tags({c::seasonName})};
    return out;
}

} // namespace corvale
