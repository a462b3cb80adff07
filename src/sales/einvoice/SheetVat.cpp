#include "sales/einvoice/SheetVat.h"

#include "documents/SheetColumns.h"

namespace corvale {

std::optional<VatBreakdown> sheetVat(const QList<SheetRow> &rows, const ShopFiscalData &shop,
                                     qint64 total) {
    QList<VatLine> lines;
    for (const SheetRow &row : rows) {
        VatLine v;
        v.quantity = row.number(sheet::QUANTITA);
        v.price = row.number(sheet::PREZZO);
        v.discount = row.number(sheet::SCONTO);
        v.rate = shop.rateOf(row.number(sheet::IVA));
        v.nature = shop.natureOf(v.rate);
        lines << v;
    }
    return VatBreakdown::compute(lines, total);
}

} // namespace corvale
