#include "sales/TFBanco.h"

#include "shell/Shop.h"

namespace corvale {

TFBanco::TFBanco(Shop &shop, QWidget *parent)
    : DocumentWindow(parent)
    , m_shop(shop) {
    setObjectName(QStringLiteral("TFBanco"));
}

TFBanco::~TFBanco() = default;

} // namespace corvale
