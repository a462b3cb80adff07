#include "catalogue/TableGrid.h"

#include "db/Table.h"

#include <QHeaderView>
#include <QItemSelectionModel>

namespace corvale {

TableGrid::TableGrid(db::Table &table, QWidget *parent)
    : QTableView(parent)
    , m_model(new TableModel(table, this)) {
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TableGrid::rowChanged);
}

int TableGrid::addColumn(const QString &field, const QString &title, const QString &format,
                         int width) {
    const int column = m_model->addColumn(field, title, format, width);
    if (width > 0) {
        // A width given is the layout's own: the style's minimum (from its
        // font, wider on Windows) must not widen it.
        if (width < horizontalHeader()->minimumSectionSize())
            horizontalHeader()->setMinimumSectionSize(width);
        setColumnWidth(column, width);
    }
    return column;
}

void TableGrid::reload() {
    m_model->reload();
    const int row = m_model->currentRow();
    if (row >= 0)
        selectRow(row);
    else
        Q_EMIT currentRecordChanged();
}

void TableGrid::reloadSelecting(const std::function<bool(db::Table &)> &wanted) {
    m_model->reload();
    db::Table &t = m_model->table();
    for (t.first(); !t.eof(); t.next()) {
        if (wanted(t))
            break;
    }
    if (t.eof())
        t.first();
    reload();
}

void TableGrid::selectRow(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    if (selectionModel()->currentIndex().row() == row) {
        m_model->setCurrentRow(row);
        Q_EMIT currentRecordChanged();
    } else {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
    }
}

void TableGrid::rowChanged(const QModelIndex &current) {
    if (current.isValid())
        m_model->setCurrentRow(current.row());
    Q_EMIT currentRecordChanged();
}

} // namespace corvale
