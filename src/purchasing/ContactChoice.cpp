#include "purchasing/ContactChoice.h"

#include "catalogue/ContactColumns.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "purchasing/TFFornitore.h"
#include "shell/Shop.h"
#include "widgets/LookupCombo.h"

namespace corvale {

namespace cc = contactColumns;

ContactChoice::ContactChoice(Shop &shop, LookupCombo &box, Kind kind)
    : m_shop(shop)
    , m_box(box)
    , m_kind(kind)
    , m_table(std::make_unique<db::Table>(shop.database())) {
    m_table->setTableName(kind == Kind::Customer ? cc::customers : cc::suppliers);
    m_table->setIndexName(cc::name);
}

ContactChoice::~ContactChoice() = default;

void ContactChoice::open() {
    m_table->open();
}

void ContactChoice::close() {
    m_table->close();
}

void ContactChoice::fill(qint64 code) {
    if (!m_table->isOpen())
        return;
    const QSignalBlocker block(&m_box);
    m_table->refresh();
    m_box.fill(*m_table, cc::name, cc::code);
    if (code > 0)
        m_box.setCurrentKey(code);
    else
        m_box.setCurrentIndex(-1);
}

std::optional<qint64> ContactChoice::chosen() const {
    if (m_box.currentIndex() < 0)
        return std::nullopt;
    return qint64(m_box.currentKey().toDouble());
}

QString ContactChoice::chosenName() const {
    return chosen() ? m_box.currentText() : QString();
}

bool ContactChoice::require() {
    if (chosen())
        return true;
    m_shop.prompter().error(m_kind == Kind::Customer
                                ? QStringLiteral("Devi scegliere un cliente!")
                                : QStringLiteral("Devi scegliere un Fornitore!"));
    return false;
}

void ContactChoice::addNew(QWidget *parent) {
    TFFornitore card(m_shop, parent);
    card.CustomerMode = m_kind == Kind::Customer;
    card.NewRecord = true;
    card.exec();
    const auto current = chosen();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        fill(!card.SavedName.isEmpty() ? card.RecordCode : current.value_or(0));
    });
}

} // namespace corvale
