#pragma once

#include <memory>
#include <optional>

#include <QtGlobal>

class QWidget;

namespace corvale {

class LookupCombo;
class Shop;

namespace db {
class Table;
}

// The supplier box of the purchase document windows: the suppliers by name,
// the one chosen, the refusal without one, and a new supplier entered through
// the contact card.
class SupplierChoice {
public:
    SupplierChoice(Shop &shop, LookupCombo &box);
    ~SupplierChoice();

    // FORNITOR, opened when the window shows and closed when it hides.
    void open();
    void close();
    // Refills the box (no change is signalled) and selects `code` (0: none).
    void fill(qint64 code);
    std::optional<qint64> chosen() const;
    // False, after "Devi scegliere un Fornitore!", when none is chosen.
    bool require();
    // "Nuovo Fornitore": the contact card over `parent`; the new supplier is
    // chosen, otherwise the choice stays.
    void addNew(QWidget *parent);

private:
    Shop &m_shop;
    LookupCombo &m_box;
    std::unique_ptr<db::Table> m_table;
};

} // namespace corvale
