#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace corvale {

namespace db {
class Database;
}

// The stock of one article by colour and size, as the counter sale's size
// panel shows it, and the choice of a cell: only a cell holding stock other
// than 0 (negative stock included) sells a piece of that colour and size.
class SaleStock {
public:
    static constexpr int positions = 20;

    struct Row {
        QString colour;
        std::array<QString, positions> cells; // as stored; empty means nothing
    };

    struct Choice {
        int position = 0;
        QString label;   // the size title
        QString colour;  // the row's colour name
        QString barcode; // the line barcode
    };

    // Reads the stock rows of `article` and the titles of its size type:
    // the labels (" " for an empty one), or "?" everywhere for an unknown type.
    void load(db::Database &database, qint64 article, const QString &articleCode, qint64 sizeType);
    void clear();

    const QList<Row> &rows() const { return m_rows; }
    const QStringList &titles() const { return m_titles; }
    qint64 article() const { return m_article; }

    // The quantity a cell holds; an empty or unreadable one holds 0.
    static double quantityOf(const QString &cell);

    // The line a click on (row, position) makes; nothing when the position is
    // 0, the article has no stock rows or the cell holds 0 or nothing.
    std::optional<Choice> choose(db::Database &database, int row, int position) const;

private:
    qint64 m_article = 0;
    QString m_articleCode;
    QList<Row> m_rows;
    QStringList m_titles;
};

} // namespace corvale
