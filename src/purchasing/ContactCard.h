#pragma once

#include <QString>

#include <memory>

namespace corvale {

class Shop;

namespace db {
class Database;
class Table;
} // namespace db

// The record behind the contact card: one supplier (FORNITOR) or customer
// (CLIENTI), new or edited. begin() opens the table and leaves the record in
// insert or edit mode; the card writes its boxes into record() and calls
// save() or cancel(), either of which closes the table again.
class ContactCard {
public:
    explicit ContactCard(Shop &shop);
    ~ContactCard();

    // False (and nothing open) when an edited code is not in the table.
    bool begin(bool customerMode, bool newRecord, qint64 code);
    bool isActive() const;
    db::Table &record();
    // The name the record had when it was opened for editing.
    const QString &oldName() const { return m_oldName; }

    // Numbers a new record from counter "CLIENTI", posts it and, when a
    // supplier was renamed, brings its articles' copy of the name up to date.
    // Returns the record's code.
    qint64 save();
    void cancel();

    // Writes `name` into FORNITORE of every article whose N_FOR is `code`;
    // returns how many were rewritten.
    static int renameSupplierInArticles(db::Database &database, qint64 code, const QString &name);

private:
    Shop &m_shop;
    std::unique_ptr<db::Table> m_table;
    bool m_customer = false;
    bool m_new = true;
    QString m_oldName;
};

} // namespace corvale
