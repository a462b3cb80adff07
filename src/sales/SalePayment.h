#pragma once

#include "sales/register/FiscalDocument.h"

#include <optional>

namespace corvale {

// How the customer pays: the tenders (their sum is the amount due) and, when
// the change is worked out, the cash handed over.
struct SalePayment {
    QList<Tender> tenders;
    std::optional<double> cashGiven;
};

} // namespace corvale
