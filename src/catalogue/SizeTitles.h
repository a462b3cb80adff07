#pragma once

#include <QStringList>

namespace corvale {

namespace db {
class Database;
}

// The titles of the twenty size columns of a stock grid: the labels of the
// article's size type, an empty label shown as one blank, "?" everywhere when
// the size type does not exist. They are read again only when the size type
// differs from the one last shown (or after forget()).
class SizeTitles {
public:
    explicit SizeTitles(db::Database &database);

    // Follows the size type of the selected article; true when the titles
    // were read again.
    bool follow(qint64 sizeType);
    // The next follow() reads the titles whatever the size type.
    void forget() { m_known = false; }
    const QStringList &titles() const { return m_titles; }

    // The twenty titles of `sizeType`, read now.
    static QStringList read(db::Database &database, qint64 sizeType);

private:
    db::Database &m_database;
    bool m_known = false;
    qint64 m_sizeType = 0;
    QStringList m_titles;
};

} // namespace corvale
