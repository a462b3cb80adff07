#pragma once

#include "documents/LineSheet.h"
#include "sales/einvoice/ShopFiscalData.h"
#include "sales/einvoice/VatBreakdown.h"

#include <optional>

namespace corvale {

// The VAT of the invoice being edited, line by line as its file will state
// it: each line at its own rate or the shop's, the lines without VAT with the
// shop's nature, adding up to `total` (cents) as the invoice will be stored.
// Nothing when the lines cannot be split (a discount over 100 %).
std::optional<VatBreakdown> sheetVat(const QList<SheetRow> &rows, const ShopFiscalData &shop,
                                     qint64 total);

} // namespace corvale
