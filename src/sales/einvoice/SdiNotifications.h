#pragma once

#include "sales/einvoice/EInvoiceState.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace corvale {

namespace db {
class Database;
}

// The exchange system's answers about the files sent: the delivery receipt
// (RC), the rejection with its error codes (NS) and the failed delivery (MC),
// read from the XML files the shop or its intermediary saved in a folder; and
// the moves the user makes (sent by hand, taken by the intermediary).
class SdiNotifications {
public:
    struct Notice {
        EInvoiceState state = EInvoiceState::None;
        QString fileName; // the invoice's file it is about
        QString notes;    // the error codes and words, or the delivery date
    };
    // A notification file's content; state None when it is not one.
    static Notice parse(const QByteArray &xml);

    struct Report {
        int files = 0;         // notification files read
        int matched = 0;       // invoices whose state changed
        QStringList unmatched; // files about no invoice of this shop
    };
    // Every notification in `folder`. Throws db::Error.
    static Report import(db::Database &database, const QString &folder);
    static QString reportText(const Report &report);

    // Invoices written whose file is no longer in `folder`: the intermediary
    // collected them, so they are sent. Returns how many. Throws db::Error.
    static int markCollected(db::Database &database, const QString &folder);
    // The user says the file of `key` was sent. False when it has no file yet
    // or is already beyond. Throws db::Error.
    static bool markSent(db::Database &database, qint64 key);
};

} // namespace corvale
