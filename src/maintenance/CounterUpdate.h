#pragma once

#include <QString>

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

private:
    void updateArticles();
    qint64 highestKey(const QString &table, const QString &tag);

    Shop &m_shop;
};

} // namespace corvale
