#include "purchasing/SupplierCardLink.h"

#include "purchasing/TFFornitore.h"

namespace corvale {

TFScheda::SupplierCard supplierCardFor(TFFornitore &card) {
    return [&card](QWidget *) -> std::optional<TFScheda::Supplier> {
        card.CustomerMode = false;
        card.NewRecord = true;
        card.exec();
        if (card.SavedName.isEmpty())
            return std::nullopt;
        return TFScheda::Supplier{card.RecordCode, card.SavedName};
    };
}

} // namespace corvale
