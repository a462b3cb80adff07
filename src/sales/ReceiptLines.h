#pragma once

#include "catalogue/SalePrices.h"
#include "documents/LineSheet.h"

#include <QList>

#include <optional>

namespace corvale {

class FiscalDevice;

// Puts a sale's lines on the receipt being issued: each line with its
// discount, and for a line selling at a campaign price the campaign's previous
// price (`reductions` as SaleReductions::of gives them; a shorter list, as
// after a failed read, leaves the rest without).
void putReceiptLines(FiscalDevice &device, const QList<SheetRow> &rows,
                     const QList<std::optional<EffectivePrice>> &reductions);

} // namespace corvale
