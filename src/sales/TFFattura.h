#pragma once

#include "documents/DocumentWindow.h"

namespace corvale {

class Shop;

// The invoice "FATTURA": a sale to a named customer, its lines by full article code, printed as the
// boxed invoice and stored in FATTURE and ARCART_V, lowering the stock. Created anew by its opener
// for every invoice, with DocumentKey 0 (new) or the key of a stored invoice; when it hides it
// notifies its opener.
class TFFattura : public DocumentWindow {
    Q_OBJECT
public:
    explicit TFFattura(Shop &shop, QWidget *parent = nullptr);
    ~TFFattura() override;

    qint64 DocumentKey = 0;
    bool IsNew = true;

private:
    Shop &m_shop;
};

} // namespace corvale
