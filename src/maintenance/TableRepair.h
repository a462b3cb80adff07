#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace corvale {

class Shop;
namespace db {
class Table;
}

// "Verifica": every table reindexed and packed, broken and orphan document
// lines deleted, the stock matrix rebuilt from the lines and the counters
// brought up to the keys in use. Progress goes to a gauge from 0 to 100.
class TableRepair {
public:
    using Progress = std::function<void(int)>;

    explicit TableRepair(Shop &shop, Progress progress = {});

    // The 28 tables reindexed and packed, in their order.
    static const QStringList &packedTables();

    // Throws db::Error on any failure; what was done until then stays done.
    // The database is open on return either way. removed() then lists every
    // record the check deleted, also after a failure.
    void Verifica();
    // One line per deleted record: its table, its number and what it held.
    const QStringList &removed() const { return m_removed; }

    // Reindexes and packs one table on an exclusive handle; false (and nothing
    // said) when the table cannot be had exclusively or is missing.
    bool reindexAndPack(const QString &table);

    static const QString &confirmText();
    static const QString &successText();
    static const QString &failureText();
    // What the check did, with the deleted records named (at most `shown`, the
    // rest counted).
    static QString outcomeText(const QString &headline, const QStringList &removed, int shown = 20);

private:
    void advance(int step = 3);
    void noteRemoval(const db::Table &table, const QStringList &fields, const QString &why);
    bool tableHasField(const QString &table, const QString &field);
    void deleteBrokenLines(const QString &table, const QStringList &fields);
    void deleteOrphanLines(const QString &lines, const QString &lineField,
                           const QStringList &headers);

    Shop &m_shop;
    Progress m_progress;
    int m_gauge = 0;
    QStringList m_removed;
};

} // namespace corvale
