#pragma once

#include "documents/DocumentData.h"

#include "db/Table.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"
#include "sales/InvoiceStore.h"
#include "sales/einvoice/FiscalIdentity.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

// A shop with the fiscal data the electronic invoice needs, its customers and
// invoices stored as the invoice window stores them.
namespace einvoicetest {

using namespace corvale;

inline QString fiscalCode(const QString &first15) {
    return first15 + FiscalIdentity::checkCharacter(first15);
}

inline void setConfig(ShopFixture &f, const QVariantMap &values) {
    f.setConfig(values);
}

inline void setShop(ShopFixture &f) {
    addDocumentData(f);
    setConfig(f, {{QStringLiteral("RAGIONE"), QStringLiteral("BOUTIQUE ESEMPIO")},
                  {QStringLiteral("ADDRESS"), QStringLiteral("Via Roma 12")},
                  {QStringLiteral("CITTA"), QStringLiteral("20121 MILANO")},
                  {QStringLiteral("PIVA"), QStringLiteral("01234567897")},
                  {QStringLiteral("PROVINCIA"), QStringLiteral("MI")},
                  {QStringLiteral("TEL"), QStringLiteral("02 1234567")},
                  {QStringLiteral("IMPOBOL"), 22},
                  {QStringLiteral("NATURA"), QStringLiteral("N4")},
                  {QStringLiteral("RIFNORMA"), QStringLiteral("Art. 10 DPR 633/72")}});
}

// A customer in Rome (CAP 00184, stored as 184) with `extra` columns.
inline void addCustomer(ShopFixture &f, int code, const QString &name, const QVariantMap &extra) {
    QVariantMap v{{QStringLiteral("CODICE"), code},
                  {QStringLiteral("NOME"), name},
                  {QStringLiteral("ADDRESS"), QStringLiteral("Via Appia 3")},
                  {QStringLiteral("CAP"), 184},
                  {QStringLiteral("CITTA"), QStringLiteral("ROMA")},
                  {QStringLiteral("PROVINCIA"), QStringLiteral("RM")}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        v.insert(it.key(), it.value());
    f.add(QStringLiteral("CLIENTI"), v);
}

inline SheetRow line(int article, const QString &colour, int position, double quantity,
                     double price, double discount = 0, double vat = 22) {
    QVariantMap v{{sheet::CODICE, article},
                  {sheet::BARCODE,
                   QStringLiteral("80000%1%2%3").arg(article).arg(100 + 1).arg(100 + position)},
                  {sheet::DESCRIZION, QStringLiteral("STIVALE CUOIO")},
                  {sheet::MARCHIO, QStringLiteral("ROSSI")},
                  {sheet::COLORE, colour},
                  {sheet::CTAGLIA, QString::number(37 + position)},
                  {sheet::TAGLIA, position},
                  {sheet::TIPOTAGLIA, 1},
                  {sheet::QUANTITA, quantity},
                  {sheet::PREZZO, price},
                  {sheet::SCONTO, discount},
                  {sheet::IVA, vat}};
    return SheetRow{v, quantity == 0 ? QVariant()
                                     : QVariant((1 - discount * 0.01) * price * quantity)};
}

inline qint64 storeInvoice(ShopFixture &f, int customer, const QList<SheetRow> &rows,
                           QDate date = QDate(2026, 3, 15)) {
    InvoiceStore store(*f.shop);
    store.begin(0);
    const qint64 key = store.save(0, rows, date, {customer, QStringLiteral("CLIENTE")});
    store.close();
    return key;
}

inline QVariant invoiceValue(ShopFixture &f, qint64 key, const QString &field) {
    db::Table t(f.db());
    t.setTableName(QStringLiteral("FATTURE"));
    t.setIndexName(QStringLiteral("NUMREG"));
    t.open();
    return t.findKey(key) ? (t.isNull(field) ? QVariant() : t.value(field)) : QVariant();
}

inline void setInvoiceValue(ShopFixture &f, qint64 key, const QString &field, const QVariant &v) {
    db::Table t(f.db());
    t.setTableName(QStringLiteral("FATTURE"));
    t.setIndexName(QStringLiteral("NUMREG"));
    t.open();
    t.findKey(key);
    t.edit();
    t.setValue(field, v);
    t.post();
}

inline QString readFile(const QString &path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

// The texts of every element `name` of a file, in order.
inline QStringList elements(const QString &xml, const QString &name) {
    QStringList out;
    const QRegularExpression re(QStringLiteral("<%1>([^<]*)</%1>").arg(name));
    auto it = re.globalMatch(xml);
    while (it.hasNext())
        out << it.next().captured(1);
    return out;
}

} // namespace einvoicetest
