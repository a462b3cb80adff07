#pragma once

#include "widgets/TableModel.h"

#include <QTableView>

#include <functional>

namespace corvale {

namespace db {
class Table;
}

// A read-only grid over a table handle whose selected row is the handle's
// current record, as the archive windows' lists are: choosing a row moves the
// handle, and reload() shows the handle's records again and selects its record.
class TableGrid : public QTableView {
    Q_OBJECT
public:
    explicit TableGrid(db::Table &table, QWidget *parent = nullptr);

    TableModel &model() { return *m_model; }
    int addColumn(const QString &field, const QString &title, const QString &format = {},
                  int width = 0);
    // Re-reads the records of the handle and selects its current one.
    void reload();
    // Re-reads the records and selects the first one for which `wanted` holds,
    // reading the handle; the first record when none does.
    void reloadSelecting(const std::function<bool(db::Table &)> &wanted);
    int rowCount() const { return m_model->rowCount(); }
    bool isEmpty() const { return m_model->rowCount() == 0; }
    // Selects `row` and makes its record the current one.
    void selectRow(int row);

Q_SIGNALS:
    void currentRecordChanged();

private:
    void rowChanged(const QModelIndex &current);

    TableModel *m_model;
};

} // namespace corvale
