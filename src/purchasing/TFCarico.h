#pragma once

#include "purchasing/SupplierDocumentWindow.h"

#include <functional>

namespace corvale {

// The goods receipt "ACQUISTO": a delivery from a supplier, its lines entered
// per article and colour through the size panel, stored in CARICHI and
// ARCART_A and added to the stock on "Salva". Created anew by its opener for
// every receipt, with DocumentKey 0 (new) or the key of a stored receipt;
// when it hides it notifies its opener. Beside what every supplier document
// has, it keeps the supplier's own document number, a discount on the whole
// receipt and "Etichette".
class TFCarico : public SupplierDocumentWindow {
    Q_OBJECT
public:
    explicit TFCarico(Shop &shop, QWidget *parent = nullptr);
    ~TFCarico() override;

    void BStampaClick() override;
    void BEtichetteClick();
    // The label window, shown modally over the sheet as "Etichette" leaves it.
    void setLabelWindow(std::function<void()> window) { m_labels = std::move(window); }

private:
    std::function<void()> m_labels;
};

} // namespace corvale
