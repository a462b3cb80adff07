#pragma once

#include "purchasing/SupplierDocumentWindow.h"

namespace corvale {

// The return to a supplier ("RESO FORNITORE", RESI and ARCART_R, every line
// taken out of the stock on "Salva") or the order to a supplier ("ORDINE
// FORNITORE", ORDINI and ARCART_O, no stock moved). Created anew by its opener
// for every document, with DocumentKey 0 (new) or the key of a stored one;
// when it hides it notifies its opener.
class TFReso : public SupplierDocumentWindow {
    Q_OBJECT
public:
    enum class Mode { Return, Order };

    TFReso(Shop &shop, Mode mode, QWidget *parent = nullptr);
    ~TFReso() override;

    const Mode DocumentMode;

    void BStampaClick() override;
    // "Curva" of the size panel (orders): N pieces spread over the sizes as
    // the article's size type sold in the last year.
    void BCurvaClick();
};

} // namespace corvale
