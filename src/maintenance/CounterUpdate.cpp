#include "maintenance/CounterUpdate.h"

#include "catalogue/ArticleColumns.h"
#include "db/Error.h"
#include "db/Table.h"
#include "maintenance/MaintenanceColumns.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"

#include <algorithm>

namespace corvale {

using namespace maintenanceColumns;

namespace {

struct CounterSource {
    const char *counter;
    QStringList tables;
    const QString &tag;
};

} // namespace

CounterUpdate::CounterUpdate(Shop &shop)
    : m_shop(shop) {}

qint64 CounterUpdate::highestKey(const QString &table, const QString &tag) {
    db::Table t(m_shop.database());
    t.setTableName(table);
    t.open();
    if (t.indexNames().contains(tag, Qt::CaseInsensitive)) {
        t.setIndexName(tag);
        t.last();
        return t.eof() && t.bof() ? 0 : t.asInteger(tag);
    }
    // The name lists are kept in name order only: their numbers are read one by one.
    qint64 highest = 0;
    for (t.first(); !t.eof(); t.next())
        highest = std::max(highest, t.asInteger(tag));
    return highest;
}

void CounterUpdate::updateArticles() {
    db::Table articles(m_shop.database());
    articles.setTableName(QStringLiteral("ARTICOLI.DBF"));
    articles.setIndexName(key);
    articles.open();
    qint64 highest = 0;
    articles.first();
    while (!articles.eof()) {
        // A blank number is how dBASE stores none: it reads as 0, and the
        // article stays. Only a number field holding something that is no
        // number (written by another program) loses its record.
        QString text;
        bool ok = false;
        try {
            text = articles.asString(key).trimmed();
            ok = true;
        } catch (const db::Error &) {
        }
        const qint64 number = !ok || text.isEmpty() ? 0 : text.toLongLong(&ok);
        if (!ok) {
            QString description;
            try {
                description = articles.asString(articleColumns::description).trimmed();
            } catch (const db::Error &) {
            }
            m_removed << QStringLiteral("ARTICOLI.DBF n. %1 (DESCRIZION \"%2\"): numero non "
                                        "valido")
                             .arg(articles.recordNumber())
                             .arg(description);
            articles.remove();
            continue;
        }
        highest = std::max(highest, number);
        articles.next();
    }
    articles.close();
    CommonRoutines &routines = m_shop.routines();
    const qint64 current = routines.NextCounter(QStringLiteral("ARTICOLI"), false) - 1;
    routines.SetCounter(QStringLiteral("ARTICOLI"), std::max(current, highest));
}

void CounterUpdate::UpdateCounters() {
    m_removed.clear();
    updateArticles();
    // Orders draw their numbers from ACQUISTI too.
    const CounterSource sources[] = {
        {"VENDITE", {QStringLiteral("VENDITE.DBF"), QStringLiteral("FATTURE.DBF")}, key},
        {"ACQUISTI",
         {QStringLiteral("CARICHI.DBF"), QStringLiteral("RESI.DBF"), QStringLiteral("ORDINI.DBF")},
         key},
        {"CLIENTI", {QStringLiteral("CLIENTI.DBF"), QStringLiteral("FORNITOR.DBF")}, partyKey},
        {"CATEGORIE", {QStringLiteral("CATEGOR.DBF")}, key},
        {"COLORI", {QStringLiteral("COLORI.DBF")}, key},
        {"TAGLIE", {QStringLiteral("TAGLIE.DBF")}, key},
        {"COUNTER",
         {QStringLiteral("MARCHI.DBF"), QStringLiteral("MATERIAL.DBF"),
          QStringLiteral("TIPOLOGI.DBF"), QStringLiteral("FONDI.DBF")},
         key}};
    CommonRoutines &routines = m_shop.routines();
    for (const CounterSource &source : sources) {
        const QString name = QString::fromLatin1(source.counter);
        qint64 n = routines.NextCounter(name, false);
        for (const QString &table : source.tables)
            n = std::max(n, highestKey(table, source.tag));
        routines.SetCounter(name, n);
    }
}

} // namespace corvale
