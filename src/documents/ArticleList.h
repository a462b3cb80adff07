#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace corvale {

namespace db {
class Database;
class Table;
} // namespace db

// The articles a document window offers, in description order: those in use
// for a receipt, all of them for a return or an order, optionally only those
// of one supplier ("Solo articoli del Fornitore").
class ArticleList {
public:
    ArticleList(db::Database &database, bool onlyInUse);
    ~ArticleList();

    db::Table &table() { return *m_table; }
    void open();
    void close();
    bool isOpen() const;

    // The supplier whose articles alone are listed; nothing lists them all.
    void setSupplier(std::optional<qint64> supplier);
    QString filterText() const;

    // Makes the first article with this description current.
    bool findByDescription(const QString &description);
    // Makes the article with this code current: its own code, or the first
    // six characters of a line barcode.
    bool findByCode(const QString &code);
    QStringList descriptions();

private:
    void applyFilter();

    db::Database &m_db;
    bool m_onlyInUse;
    std::optional<qint64> m_supplier;
    std::unique_ptr<db::Table> m_table;
};

// The name and the twenty labels of a size type (TAGLIE by NUMREG); empty
// labels when the type is unknown.
struct SizeType {
    QString name;
    QStringList labels;
};
SizeType loadSizeType(db::Database &database, qint64 sizeType);

} // namespace corvale
