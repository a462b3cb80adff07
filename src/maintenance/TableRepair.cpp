#include "maintenance/TableRepair.h"

#include "catalogue/StockRoutines.h"
#include "db/Database.h"
#include "db/Error.h"
#include "db/Table.h"
#include "maintenance/CounterUpdate.h"
#include "maintenance/MaintenanceColumns.h"
#include "shell/Shop.h"

#include <memory>
#include <optional>
#include <vector>

namespace corvale {

using namespace maintenanceColumns;

namespace {

// A field's text, or nothing when its bytes are no value of its type (written
// by another program): such a record is judged by what can be read of it.
std::optional<QString> fieldText(const db::Table &t, const QString &field) {
    try {
        return t.asString(field).trimmed();
    } catch (const db::Error &) {
        return std::nullopt;
    }
}

// Read as an integer the way the lines were always judged: a blank, a text or
// a fraction is no number.
bool readsAsPositiveInteger(const db::Table &t, const QString &field) {
    bool ok = false;
    const qint64 value = fieldText(t, field).value_or(QString()).toLongLong(&ok);
    return ok && value != 0;
}

} // namespace

TableRepair::TableRepair(Shop &shop, Progress progress)
    : m_shop(shop)
    , m_progress(std::move(progress)) {}

const QStringList &TableRepair::packedTables() {
    static const QStringList tables = {
        QStringLiteral("ARCART_A.DBF"), QStringLiteral("ARCART_V.DBF"),
        QStringLiteral("ARCART_R.DBF"), QStringLiteral("ARCART_O.DBF"),
        QStringLiteral("ARCARTTG.DBF"), QStringLiteral("ARTICOLI.DBF"),
        QStringLiteral("CARICHI.DBF"),  QStringLiteral("CATEGOR.DBF"),
        QStringLiteral("CLIENTI.DBF"),  QStringLiteral("COLORI.DBF"),
        QStringLiteral("FATTURE.DBF"),  QStringLiteral("RESI.DBF"),
        QStringLiteral("FORNITOR.DBF"), QStringLiteral("NOTA.DBF"),
        QStringLiteral("NOTAM.DBF"),    QStringLiteral("TAGLIE.DBF"),
        QStringLiteral("VENDITE.DBF"),  QStringLiteral("MARCHI.DBF"),
        QStringLiteral("MATERIAL.DBF"), QStringLiteral("TIPOLOGI.DBF"),
        QStringLiteral("FONDI.DBF"),    QStringLiteral("ACCONTI.DBF"),
        QStringLiteral("BANK0.DBF"),    QStringLiteral("BANK1.DBF"),
        QStringLiteral("BANK2.DBF"),    QStringLiteral("BANK3.DBF"),
        QStringLiteral("ORDINI.DBF"),   QStringLiteral("BARCODE.DBF")};
    return tables;
}

const QString &TableRepair::confirmText() {
    static const QString text =
        QStringLiteral("Controlla e Compatta tutti gli archivi in uso,\n\nContinuare?");
    return text;
}

const QString &TableRepair::successText() {
    static const QString text = QStringLiteral("Operazione eseguita con Successo!");
    return text;
}

const QString &TableRepair::failureText() {
    static const QString text =
        QStringLiteral("Operazione non riuscita!,\nUscire dal programma, rientrare e riprovare.");
    return text;
}

QString TableRepair::outcomeText(const QString &headline, const QStringList &removed, int shown) {
    if (removed.isEmpty())
        return headline;
    QString text = headline + QStringLiteral("\n\nRecord eliminati (%1):").arg(removed.size());
    for (const QString &line : removed.mid(0, shown))
        text += u'\n' + line;
    if (removed.size() > shown)
        text += QStringLiteral("\n... e altri %1.").arg(removed.size() - shown);
    return text;
}

void TableRepair::noteRemoval(const db::Table &table, const QStringList &fields,
                              const QString &why) {
    QStringList values;
    for (const QString &field : fields) {
        const std::optional<QString> text = fieldText(table, field);
        values << field + (text ? QStringLiteral(" \"") + *text + u'"'
                                : QStringLiteral(" illeggibile"));
    }
    m_removed << QStringLiteral("%1 n. %2 (%3): %4")
                     .arg(table.tableName().toUpper())
                     .arg(table.recordNumber())
                     .arg(values.join(QStringLiteral(", ")), why);
}

void TableRepair::advance(int step) {
    m_gauge += step;
    if (m_progress)
        m_progress(m_gauge);
}

bool TableRepair::reindexAndPack(const QString &table) {
    db::Table handle(m_shop.database());
    try {
        handle.setTableName(table);
        handle.setExclusive(true);
        handle.open();
        handle.reindex();
        handle.pack();
        handle.close();
        return true;
    } catch (const db::Error &) {
        return false;
    }
}

bool TableRepair::tableHasField(const QString &table, const QString &field) {
    db::Table t(m_shop.database());
    t.setTableName(table);
    t.open();
    return t.hasField(field);
}

void TableRepair::deleteBrokenLines(const QString &table, const QStringList &fields) {
    db::Table lines(m_shop.database());
    lines.setTableName(table);
    lines.open();
    lines.first();
    while (!lines.eof()) {
        bool broken = false;
        for (const QString &field : fields)
            broken = broken || !readsAsPositiveInteger(lines, field);
        if (broken) {
            noteRemoval(lines, fields, QStringLiteral("numero non valido"));
            lines.remove(); // the next line becomes current
        } else
            lines.next();
    }
}

void TableRepair::deleteOrphanLines(const QString &lines, const QString &lineField,
                                    const QStringList &headers) {
    std::vector<std::unique_ptr<db::Table>> heads;
    for (const QString &header : headers) {
        auto t = std::make_unique<db::Table>(m_shop.database());
        t->setTableName(header);
        t->setIndexName(key);
        t->open();
        heads.push_back(std::move(t));
    }
    db::Table t(m_shop.database());
    t.setTableName(lines);
    t.open();
    t.first();
    while (!t.eof()) {
        const qint64 document = t.asInteger(lineField);
        bool found = false;
        for (auto &head : heads)
            found = found || head->findKey(document);
        if (found) {
            t.next();
        } else {
            noteRemoval(t, {lineField, lineArticle, lineSize},
                        QStringLiteral("documento inesistente"));
            t.remove();
        }
    }
}

void TableRepair::Verifica() {
    m_removed.clear();
    m_gauge = 0;
    if (m_progress)
        m_progress(0);
    m_shop.database().close();
    m_shop.openDatabase();
    advance();

    for (const QString &table : packedTables()) {
        reindexAndPack(table);
        advance();
    }

    const QStringList lineKeys = {lineArticle, lineSize};
    for (const char *table : {"ARCART_A.dbf", "ARCART_V.dbf", "ARCART_R.dbf"}) {
        deleteBrokenLines(QString::fromLatin1(table), lineKeys);
        advance();
    }
    // The older cash book's notes are judged by their date; a NOTA laid out
    // without one (as new data folders have it) has nothing to judge by, and
    // must not make the whole check fail.
    if (tableHasField(QStringLiteral("NOTA.dbf"), noteDate))
        deleteBrokenLines(QStringLiteral("NOTA.dbf"), {noteDate});

    deleteOrphanLines(QStringLiteral("ARCART_A.DBF"), purchaseLineDocument,
                      {QStringLiteral("CARICHI.DBF")});
    deleteOrphanLines(QStringLiteral("ARCART_R.DBF"), purchaseLineDocument,
                      {QStringLiteral("RESI.DBF")});
    deleteOrphanLines(QStringLiteral("ARCART_V.DBF"), saleLineDocument,
                      {QStringLiteral("VENDITE.DBF"), QStringLiteral("FATTURE.DBF")});

    StockRoutines(m_shop.database()).RebuildStock();
    advance();
    advance();

    CounterUpdate counters(m_shop);
    try {
        counters.UpdateCounters();
    } catch (const db::Error &) {
        m_removed << counters.removed();
        throw;
    }
    m_removed << counters.removed();
    m_gauge = 100;
    if (m_progress)
        m_progress(100);
}

} // namespace corvale
