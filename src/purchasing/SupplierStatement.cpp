#include "purchasing/SupplierStatement.h"

#include "catalogue/ContactColumns.h"
#include "db/Database.h"
#include "db/Table.h"
#include "documents/DocumentKind.h"
#include "documents/SheetColumns.h"
#include "purchasing/PaymentColumns.h"

#include <QHash>

namespace corvale {

namespace {

const QString statement = QStringLiteral("TABLE3");
const QString TIPODOC = QStringLiteral("TIPODOC");
const QString NUMERO = QStringLiteral("NUMERO");
const QString DATA = QStringLiteral("DATA");
const QString openingRow = QStringLiteral("Dare Iniziale");

} // namespace

SupplierStatement::SupplierStatement(db::Database &database)
    : m_db(database) {}

void SupplierStatement::build(int year) {
    const QString start =
        QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0')) + QStringLiteral("0101");
    db::Table rows(m_db);
    rows.setTableName(statement);
    rows.open();
    rows.emptyTable();

    // Opening balances by code, whatever the code.
    QHash<qint64, double> opening;
    QList<qint64> suppliers;
    {
        db::Table t(m_db);
        t.setTableName(contactColumns::suppliers);
        t.open();
        for (t.first(); !t.eof(); t.next())
            suppliers << t.asInteger(contactColumns::code);
    }
    QList<uint32_t> openingRecords;
    for (qint64 code : suppliers) {
        rows.append();
        rows.setString(TIPODOC, openingRow);
        rows.setString(DATA, QStringLiteral("01/01/%1").arg(year));
        rows.setInteger(doc::NUMRAG, code);
        rows.setString(doc::MYDATA, start);
        rows.setFloat(doc::TOTALE, 0);
        rows.post();
        openingRecords << rows.recordNumber();
    }

    const auto walk = [&](const QString &table, const QString &kind, double sign) {
        db::Table t(m_db);
        t.setTableName(table);
        t.open();
        for (t.first(); !t.eof(); t.next()) {
            const qint64 code = t.asInteger(doc::NUMRAG);
            const QString key = t.asString(doc::MYDATA);
            const double total = t.asFloat(doc::TOTALE);
            if (key < start) {
                opening[code] += sign * total;
                continue;
            }
            rows.append();
            rows.setString(TIPODOC, kind);
            rows.setString(NUMERO, t.asString(doc::NUMDOC));
            rows.setString(DATA, t.asString(doc::DATADOC));
            rows.setInteger(doc::NUMRAG, code);
            rows.setString(doc::MYDATA, key);
            rows.setFloat(doc::TOTALE, sign * total);
            rows.post();
        }
    };
    walk(DocumentKind::receipt().headerTable, QStringLiteral("Fattura"), 1);
    walk(DocumentKind::supplierReturn().headerTable, QStringLiteral("Reso Merce"), -1);

    for (qsizetype i = 0; i < suppliers.size(); ++i) {
        const double value = opening.value(suppliers[i]);
        if (value == 0)
            continue;
        rows.gotoBookmark({openingRecords[i]});
        rows.edit();
        rows.setFloat(doc::TOTALE, value);
        rows.post();
    }
}

double SupplierStatement::documents(qint64 supplier) {
    db::Table rows(m_db);
    rows.setTableName(statement);
    rows.setIndexName(doc::NUMRAG);
    rows.open();
    rows.setRange(supplier, supplier);
    double sum = 0;
    for (rows.first(); !rows.eof(); rows.next())
        sum += rows.asFloat(doc::TOTALE);
    return sum;
}

double SupplierStatement::payments(qint64 supplier) {
    db::Table t(m_db);
    t.setTableName(paymentColumns::payments);
    t.setIndexName(paymentColumns::partyKey);
    t.open();
    const QString code = QString::number(supplier);
    t.setRange(code, code);
    double sum = 0;
    for (t.first(); !t.eof(); t.next()) {
        if (!t.asBool(paymentColumns::fromCustomer))
            sum += t.asFloat(paymentColumns::amount);
    }
    return sum;
}

} // namespace corvale
