#include "sales/TFFattura.h"

#include "shell/Shop.h"

namespace corvale {

TFFattura::TFFattura(Shop &shop, QWidget *parent)
    : DocumentWindow(parent)
    , m_shop(shop) {
    setObjectName(QStringLiteral("TFFattura"));
}

TFFattura::~TFFattura() = default;

} // namespace corvale
