#include "shell/TFData.h"

#include "db/Database.h"
#include "shell/SchemaUpgrade.h"
#include "shell/Shop.h"

namespace corvale {

TFData::TFData(Shop &shop, QObject *parent)
    : QObject(parent) {
    setObjectName(QStringLiteral("TFData"));
    if (!shop.database().isOpen())
        return; // the main window already reported why
    SchemaUpgrade upgrade(shop.database());
    m_upgraded = upgrade.runSecondList();
    if (!m_upgraded)
        shop.prompter().error(upgrade.errorText());
}

} // namespace corvale
