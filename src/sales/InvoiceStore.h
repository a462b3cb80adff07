#pragma once

#include "documents/LineSheet.h"

#include <QDate>
#include <QString>

#include <memory>

namespace corvale {

class Shop;

namespace db {
class Table;
}

// The invoice as it is stored: its header in FATTURE, its lines in ARCART_V
// and their stock, through the document save shared with the other windows.
// No widgets: the window binds its boxes to header() and hands the lines over.
class InvoiceStore {
public:
    explicit InvoiceStore(Shop &shop);
    ~InvoiceStore();

    db::Table &header() { return *m_header; }

    // Opens FATTURE and begins the invoice `key`. A new one (0) gets a header
    // being inserted, dated today, with the year's next invoice number (apart
    // from the sales) and not paid into the bank; a stored one is put into
    // editing. False, with nothing being edited, when `key` is not stored.
    // Throws db::Error.
    bool begin(qint64 key);

    struct Customer {
        qint64 code = 0;
        QString name; // as the customer box shows it
    };
    // Stores the invoice `key` (0: new, numbered from the counter the sales
    // share) with `lines`, dated `date`, for `customer`; returns its key.
    // The total is the plain sum of the lines' amounts. Throws db::Error after
    // putting back what it had done; the header stays being edited, so the
    // user can try again.
    qint64 save(qint64 key, const QList<SheetRow> &lines, QDate date, const Customer &customer);

    // Drops what the header was given since begin().
    void cancel();
    void close();

private:
    Shop &m_shop;
    std::unique_ptr<db::Table> m_header;
};

} // namespace corvale
