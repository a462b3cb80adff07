#pragma once

#include "documents/DocumentWindow.h"

namespace corvale {

class Shop;

// The counter sale "VENDITA AL BANCO": one sale at the counter, its lines by code, by description
// or through the size panel, sent to the cash register and stored in VENDITE and ARCART_V, lowering
// the stock. Created anew by its opener for every sale, with DocumentKey 0 (new) or the key of a
// stored sale; when it hides it notifies its opener.
class TFBanco : public DocumentWindow {
    Q_OBJECT
public:
    explicit TFBanco(Shop &shop, QWidget *parent = nullptr);
    ~TFBanco() override;

    qint64 DocumentKey = 0;
    bool IsNew = true;

private:
    Shop &m_shop;
};

} // namespace corvale
