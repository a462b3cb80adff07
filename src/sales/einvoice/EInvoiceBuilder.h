#pragma once

#include "sales/einvoice/EInvoiceDocument.h"
#include "sales/einvoice/ShopFiscalData.h"

#include <QStringList>

#include <memory>
#include <optional>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

// Reads a stored invoice or credit note (FATTURE, its lines in ARCART_V, its
// customer in CLIENTI) into the document its file states. The tables stay
// open while the builder lives, so a period is read without reopening them.
class EInvoiceBuilder {
public:
    // Throws db::Error.
    explicit EInvoiceBuilder(db::Database &database);
    ~EInvoiceBuilder();

    struct Result {
        std::optional<EInvoiceDocument> document;
        // What is missing or wrong, in the shop's words and naming the field.
        QStringList problems;
    };
    // The invoice `key` as sent with the progressive `progressive`. Throws db::Error.
    Result build(qint64 key, const QString &progressive);

    const ShopFiscalData &shop() const { return m_shop; }
    // FATTURE on its NUMREG tag, for the caller to read and mark the invoice.
    db::Table &invoices() { return *m_invoices; }

    // The description of a line: article, brand, colour and size.
    static QString lineDescription(const QString &description, const QString &brand,
                                   const QString &colour, const QString &size);

private:
    void buyer(qint64 code, EInvoiceDocument &document, QStringList &problems);
    void seller(EInvoiceDocument &document, QStringList &problems) const;

    db::Database &m_db;
    ShopFiscalData m_shop;
    std::unique_ptr<db::Table> m_invoices;
    std::unique_ptr<db::Table> m_linked;
    std::unique_ptr<db::Table> m_lines;
    std::unique_ptr<db::Table> m_customers;
};

} // namespace corvale
