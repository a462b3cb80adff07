#pragma once

#include "documents/LineSheet.h"

#include <QList>
#include <QString>

namespace corvale {

class Shop;

// A credit note (TD04): goods of a stored invoice brought back. It is stored
// as a document of its own in FATTURE, numbered in the year's invoice
// numbering, with negative quantities and amounts, so that every sum over the
// invoices (takings, charts, customer totals) counts it against the invoice;
// its lines give the stock back.
class CreditNote {
public:
    struct InvoiceLine {
        SheetRow row;        // as the invoice stored it, in the sheet's names
        double returned = 0; // already given back by earlier credit notes
        double returnable() const;
    };

    // The lines of the invoice `key` with what is left to give back. Throws db::Error.
    static QList<InvoiceLine> linesOf(Shop &shop, qint64 key);

    // Stores the credit note giving back `quantities` (one per invoice line, in
    // order; 0 keeps the line) of the invoice `key`; returns its key, or 0
    // with *error in the shop's words. Throws db::Error after undoing what it did.
    static qint64 create(Shop &shop, qint64 key, const QList<double> &quantities, QString *error);
};

} // namespace corvale
