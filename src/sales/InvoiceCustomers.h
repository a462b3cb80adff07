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
class Database;
class Table;
} // namespace db

// What the printed invoice tells of its customer, from CLIENTI.
struct InvoiceAddressee {
    QString address;
    QString postcode; // CAP as stored; empty when none
    QString town;
    QString vatNumber; // PIVACF
    // The customer `code`; empty values when there is none. Throws db::Error.
    static InvoiceAddressee load(db::Database &database, qint64 code);
};

// The invoice's customer box: the customers by name, the one chosen, the
// refusal without one, and a new customer entered through the contact card.
class InvoiceCustomers {
public:
    InvoiceCustomers(Shop &shop, LookupCombo &box);
    ~InvoiceCustomers();

    // CLIENTI, opened when the window shows and closed when it hides.
    void open();
    void close();
    // Refills the box (no change is signalled) and selects `code` (0: none).
    void fill(qint64 code);
    std::optional<qint64> chosen() const;
    QString chosenName() const;
    // False, after "Devi scegliere un cliente!", when none is chosen.
    bool require();
    // "Nuovo Cliente": the contact card in customer mode over `parent`; the
    // new customer is chosen, otherwise the choice stays.
    void addNew(QWidget *parent);

private:
    Shop &m_shop;
    LookupCombo &m_box;
    std::unique_ptr<db::Table> m_table;
};

} // namespace corvale
