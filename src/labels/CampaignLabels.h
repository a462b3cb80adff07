#pragma once

#include "labels/LabelRow.h"

#include <QDate>
#include <QList>

namespace corvale {

namespace db {
class Database;
}

// The campaign prices of the label rows: a row whose article a campaign
// covers on `day` prints the campaign's price with the previous price (the
// lowest of the 30 days before the campaign) and the reduction.
class CampaignLabels {
public:
    static void apply(QList<LabelRow> &rows, db::Database &database, QDate day);
};

} // namespace corvale
