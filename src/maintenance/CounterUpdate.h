#pragma once

#include <QString>
#include <QStringList>

namespace corvale {

class Shop;

// Brings the named counters of COUNTERS.DBF up to the highest keys in use, so
// that the next number handed out is free. A counter is never lowered: a
// number once handed out may still be named by lines, payments or printed
// documents of a record since deleted.
class CounterUpdate {
public:
    explicit CounterUpdate(Shop &shop);

    // Engine failures (a missing table or column) reach the caller as db::Error.
    void UpdateCounters();
    // The articles deleted for a number that is no number, one line each.
    const QStringList &removed() const { return m_removed; }

private:
    void updateArticles();
    qint64 highestKey(const QString &table, const QString &tag);

    Shop &m_shop;
    QStringList m_removed;
};

} // namespace corvale
