#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

class QWidget;

namespace corvale {

class LookupCombo;
class Shop;

namespace db {
class Table;
}

// The contact box of a document window: the suppliers (or the customers) by
// name, the one chosen, the refusal without one, and a new contact entered
// through the contact card.
class ContactChoice {
public:
    enum class Kind { Supplier, Customer };

    ContactChoice(Shop &shop, LookupCombo &box, Kind kind);
    ~ContactChoice();

    // FORNITOR or CLIENTI, opened when the window shows and closed when it hides.
    void open();
    void close();
    // Refills the box (no change is signalled) and selects `code` (0: none).
    void fill(qint64 code);
    std::optional<qint64> chosen() const;
    QString chosenName() const;
    // False, after "Devi scegliere un Fornitore!" (a supplier) or "Devi
    // scegliere un cliente!" (a customer), when none is chosen.
    bool require();
    // "Nuovo Fornitore" or "Nuovo Cliente": the contact card over `parent`;
    // the new contact is chosen, otherwise the choice stays.
    void addNew(QWidget *parent);

private:
    Shop &m_shop;
    LookupCombo &m_box;
    const Kind m_kind;
    std::unique_ptr<db::Table> m_table;
};

} // namespace corvale
