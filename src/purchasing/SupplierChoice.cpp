#include "purchasing/SupplierChoice.h"

#include "db/Table.h"
#include "platform/EngineError.h"
#include "purchasing/TFFornitore.h"
#include "shell/Shop.h"
#include "widgets/LookupCombo.h"

namespace corvale {

SupplierChoice::SupplierChoice(Shop &shop, LookupCombo &box)
    : m_shop(shop)
    , m_box(box)
    , m_table(std::make_unique<db::Table>(shop.database())) {
    m_table->setTableName(QStringLiteral("FORNITOR"));
    m_table->setIndexName(QStringLiteral("NOME"));
}

SupplierChoice::~SupplierChoice() = default;

void SupplierChoice::open() {
    m_table->open();
}

void SupplierChoice::close() {
    m_table->close();
}

void SupplierChoice::fill(qint64 code) {
    if (!m_table->isOpen())
        return;
    const QSignalBlocker block(&m_box);
    m_table->refresh();
    m_box.fill(*m_table, QStringLiteral("NOME"), QStringLiteral("CODICE"));
    if (code > 0)
        m_box.setCurrentKey(code);
    else
        m_box.setCurrentIndex(-1);
}

std::optional<qint64> SupplierChoice::chosen() const {
    if (m_box.currentIndex() < 0)
        return std::nullopt;
    return qint64(m_box.currentKey().toDouble());
}

bool SupplierChoice::require() {
    if (chosen())
        return true;
    m_shop.prompter().error(QStringLiteral("Devi scegliere un Fornitore!"));
    return false;
}

void SupplierChoice::addNew(QWidget *parent) {
    TFFornitore card(m_shop, parent);
    card.CustomerMode = false;
    card.NewRecord = true;
    card.exec();
    const auto current = chosen();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        fill(!card.SavedName.isEmpty() ? card.RecordCode : current.value_or(0));
    });
}

} // namespace corvale
