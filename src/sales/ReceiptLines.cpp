#include "sales/ReceiptLines.h"

#include "documents/SheetColumns.h"
#include "register/FiscalDevice.h"

namespace corvale {

void putReceiptLines(FiscalDevice &device, const QList<SheetRow> &rows,
                     const QList<std::optional<EffectivePrice>> &reductions) {
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const SheetRow &row = rows[i];
        const double amount = row.amount.toDouble();
        device.line(row.text(sheet::DESCRIZION), row.number(sheet::QUANTITA),
                    row.number(sheet::PREZZO), row.number(sheet::IVA), amount);
        const double discount = row.number(sheet::SCONTO);
        if (discount != 0)
            device.lineDiscount(discount, amount);
        if (i < reductions.size() && reductions[i]) {
            const EffectivePrice &r = *reductions[i];
            device.lineReduction(r.previous.toDouble(), r.percent, r.campaign->name);
        }
    }
}

} // namespace corvale
