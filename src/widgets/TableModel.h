#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QVariantList>
#include <vector>

namespace corvale {

namespace db {
class Table;
}

// A grid model over a table handle: one row per visible record of the handle
// (in the order of its tag, inside its range, master link and filter), one
// column per declared field, calculated fields included. The handle's cursor
// is the grid's current row: setCurrentRow() moves it, and reload() follows
// whatever the window did to the handle.
//
// Values are read once per row and cached until the next reload() or
// refreshRow(). Reading a row that is not cached moves the handle there and
// back, so the window's current record stays where it was.
class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString title;
        QString format; // display pattern (",0.00", "#", ...); empty: as stored
        int width = 0;  // pixels; 0 leaves it to the view
        bool editable = false;
    };

    explicit TableModel(db::Table &table, QObject *parent = nullptr);

    db::Table &table() const { return m_table; }

    int addColumn(const QString &field, const QString &title, const QString &format = {},
                  int width = 0);
    void setColumnEditable(int column, bool editable);
    const Column &column(int index) const { return m_columns[index]; }
    int columnOf(const QString &field) const;
    void clearColumns();

    // Re-reads the list of records from the handle (after a filter, range,
    // tag or data change); keeps the handle's current record.
    void reload();
    void refreshRow(int row);
    // The row of the handle's current record, -1 when it has none.
    int currentRow() const;
    // Moves the handle to the record of `row`.
    void setCurrentRow(int row);
    uint32_t recordNumber(int row) const { return m_records[size_t(row)]; }
    int rowOfRecord(uint32_t recno) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Writes a typed value into the record (numbers as typed in Italian);
    // false when it is not valid for the field.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Text of a value as the column shows it.
    static QString displayText(const QVariant &value, const QString &format);

Q_SIGNALS:
    // A write into the table failed; the text is the engine's message.
    void writeFailed(const QString &message);

private:
    const QVariantList &rowValues(int row) const;
    QVariantList readCurrent() const;

    db::Table &m_table;
    QList<Column> m_columns;
    std::vector<uint32_t> m_records;
    mutable QHash<int, QVariantList> m_cache;
};

} // namespace corvale
