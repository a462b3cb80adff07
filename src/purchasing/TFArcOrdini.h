#pragma once

#include "purchasing/TFArcResi.h"

namespace corvale {

// "ARCHIVIO ORDINI FORNITORE": the returns archive over the orders, which
// open in the order window, leave the stock alone when deleted, and are
// loaded into stock as a new goods receipt with "Carica".
class TFArcOrdini : public TFArcResi {
    Q_OBJECT
public:
    explicit TFArcOrdini(Shop &shop, QWidget *parent = nullptr);

    void BCaricaClick();
    // Opens the stored order `key` in the order window (orders made elsewhere).
    void openOrder(qint64 key) { openDocument(key); }

protected:
    QString deleteQuestion() const override;
};

} // namespace corvale
