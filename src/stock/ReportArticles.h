#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

// The four columns every article line of the stock reports opens with.
struct ReportArticle {
    QString code;
    QString description;
    QString supplier;
    QString brand;

    // The current row of an article list. Throws db::Error.
    static ReportArticle read(db::Table &articles);
    // The export cells of these columns: the code behind an apostrophe, so
    // that a spreadsheet keeps its leading zeros.
    QStringList exportCells() const;
    // The export's heading lines: "CODICE", "ARTICOLO", "FORNITORE",
    // "MARCHIO", then `figureTitles`.
    static QStringList exportHeading(QDate today, const QStringList &figureTitles);
};

// The article list of a stock report: ARTICOLI in description order under the
// filter bar's text, the report's figures carried as calculated columns that
// `calculate` sets for the current row.
class ReportArticles {
public:
    ReportArticles(db::Database &database, const QStringList &calculatedColumns,
                   std::function<void(db::Table &)> calculate);
    ~ReportArticles();

    db::Table &table() { return *m_table; }

    // Opens the list under its filter, on its first row. Throws db::Error.
    void open();
    void close();

    // Filtering is on exactly when the text is not empty; a closed list takes
    // the text at open(). Throws db::Error for a text the engine cannot read.
    void setFilter(const QString &text);
    QString filter() const { return m_filter; }

    // Hands every row in view to `read`, in list order, and comes back to the
    // current row. A row that does not read (db::Error) is passed over.
    void forEachRow(const std::function<void(db::Table &)> &read);

private:
    std::unique_ptr<db::Table> m_table;
    QString m_filter;
};

} // namespace corvale
