#include "maintenance/DatabasePause.h"

#include "db/Database.h"
#include "db/Error.h"
#include "shell/Shop.h"

namespace corvale {

DatabasePause::DatabasePause(Shop &shop)
    : m_shop(shop) {
    m_shop.database().close();
}

DatabasePause::~DatabasePause() {
    if (!m_reopen)
        return;
    try {
        m_shop.openDatabase();
    } catch (const db::Error &) {
        // Said by the first window that needs a table.
    }
}

void DatabasePause::reopen() {
    m_reopen = false;
    m_shop.openDatabase();
}

} // namespace corvale
