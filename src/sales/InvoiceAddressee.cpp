#include "sales/InvoiceAddressee.h"

#include "catalogue/ContactColumns.h"
#include "db/Table.h"
#include "sales/CustomerColumns.h"

namespace corvale {

InvoiceAddressee InvoiceAddressee::load(db::Database &database, qint64 code) {
    InvoiceAddressee out;
    db::Table customers(database);
    customers.setTableName(customerColumns::customers);
    customers.setIndexName(customerColumns::code);
    customers.open();
    if (!customers.findKey(code))
        return out;
    out.address = customers.asString(customerColumns::address);
    if (!customers.isNull(customerColumns::cap))
        out.postcode = QString::number(customers.asInteger(customerColumns::cap));
    out.town = customers.asString(customerColumns::city);
    // The electronic invoice's fields first; the old single one otherwise.
    const QString vat = customers.asString(contactColumns::vatNumber).trimmed();
    const QString fiscal = customers.asString(contactColumns::fiscalCode).trimmed();
    out.vatNumber = !vat.isEmpty()      ? vat
                    : !fiscal.isEmpty() ? fiscal
                                        : customers.asString(customerColumns::vatNumber);
    return out;
}

} // namespace corvale
