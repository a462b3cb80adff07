#pragma once

#include <QString>
#include <QtGlobal>

namespace corvale {

namespace db {
class Database;
}

// What the printed invoice tells of its customer, from CLIENTI.
struct InvoiceAddressee {
    QString address;
    QString postcode; // CAP as stored; empty when none
    QString town;
    QString vatNumber; // PIVACF
    // The customer `code`; empty values when there is none. Throws db::Error.
    static InvoiceAddressee load(db::Database &database, qint64 code);
};

} // namespace corvale
