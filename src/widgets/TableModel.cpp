#include "widgets/TableModel.h"

#include "db/Error.h"
#include "db/Table.h"
#include "platform/Formats.h"

#include <QDate>

namespace corvale {

TableModel::TableModel(db::Table &table, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(table) {}

int TableModel::addColumn(const QString &field, const QString &title, const QString &format,
                          int width) {
    beginResetModel();
    m_columns << Column{field, title, format, width, false};
    m_cache.clear();
    endResetModel();
    return int(m_columns.size()) - 1;
}

void TableModel::setColumnEditable(int column, bool editable) {
    m_columns[column].editable = editable;
}

int TableModel::columnOf(const QString &field) const {
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TableModel::clearColumns() {
    beginResetModel();
    m_columns.clear();
    m_cache.clear();
    endResetModel();
}

void TableModel::reload() {
    beginResetModel();
    m_records.clear();
    m_cache.clear();
    if (m_table.isOpen()) {
        const db::Table::Bookmark here = m_table.bookmark();
        for (m_table.first(); !m_table.eof(); m_table.next())
            m_records.push_back(m_table.recordNumber());
        if (here.isValid() && rowOfRecord(here.recno) >= 0)
            m_table.gotoBookmark(here);
        else
            m_table.first();
    }
    endResetModel();
}

void TableModel::refreshRow(int row) {
    if (row < 0 || row >= rowCount())
        return;
    m_cache.remove(row);
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int TableModel::rowOfRecord(uint32_t recno) const {
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i] == recno)
            return int(i);
    }
    return -1;
}

int TableModel::currentRow() const {
    if (!m_table.isOpen() || m_table.recordNumber() == 0)
        return -1;
    return rowOfRecord(m_table.recordNumber());
}

void TableModel::setCurrentRow(int row) {
    if (row < 0 || row >= rowCount() || !m_table.isOpen())
        return;
    if (m_table.recordNumber() != m_records[size_t(row)])
        m_table.gotoBookmark({m_records[size_t(row)]});
}

int TableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_records.size());
}

int TableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariantList TableModel::readCurrent() const {
    QVariantList values;
    values.reserve(m_columns.size());
    for (const Column &c : m_columns)
        values << m_table.value(c.field);
    return values;
}

const QVariantList &TableModel::rowValues(int row) const {
    auto it = m_cache.find(row);
    if (it != m_cache.end())
        return *it;
    const uint32_t recno = m_records[size_t(row)];
    QVariantList values;
    if (m_table.recordNumber() == recno) {
        values = readCurrent();
    } else {
        const db::Table::Bookmark here = m_table.bookmark();
        m_table.gotoBookmark({recno});
        values = readCurrent();
        if (here.isValid())
            m_table.gotoBookmark(here);
    }
    return *m_cache.insert(row, values);
}

QString TableModel::displayText(const QVariant &value, const QString &format) {
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
        if (!format.isEmpty())
            return Formats::display(format, value.toDouble());
        return QString::number(value.toDouble(), 'g', 15).replace(u'.', Formats::decimalSeparator);
    case QMetaType::QDate:
        return Formats::formatDate(value.toDate());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Sì") : QStringLiteral("No");
    case QMetaType::QByteArray:
        return QStringLiteral("(blob)");
    default:
        return value.toString();
    }
}

QVariant TableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const Column &c = m_columns[index.column()];
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const QVariant v = rowValues(index.row()).value(index.column());
        if (role == Qt::EditRole && !v.isNull() && v.typeId() == QMetaType::Double)
            return displayText(v, {});
        return displayText(v, c.format);
    }
    if (role == Qt::TextAlignmentRole) {
        const QVariant v = rowValues(index.row()).value(index.column());
        if (v.typeId() == QMetaType::Double)
            return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_columns.size())
        return m_columns[section].title;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TableModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && m_columns[index.column()].editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool TableModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !m_columns[index.column()].editable)
        return false;
    const QString &field = m_columns[index.column()].field;
    try {
        setCurrentRow(index.row());
        const QString text = value.toString();
        if (m_table.state() == db::Table::State::Browse)
            m_table.edit();
        const auto &defs = m_table.fieldDefs();
        const auto def = std::find_if(defs.begin(), defs.end(), [&](const auto &d) {
            return d.name.compare(field, Qt::CaseInsensitive) == 0;
        });
        if (def != defs.end() && def->isNumeric()) {
            if (text.trimmed().isEmpty()) {
                m_table.setNull(field);
            } else {
                const auto number = Formats::parseNumber(text);
                if (!number) {
                    m_table.cancel();
                    return false;
                }
                m_table.setFloat(field, *number);
            }
        } else if (def != defs.end() && def->type == 'D') {
            const auto date = Formats::parseDate(text);
            if (!date && !text.trimmed().isEmpty()) {
                m_table.cancel();
                return false;
            }
            m_table.setDate(field, date.value_or(QDate()));
        } else {
            m_table.setString(field, text);
        }
        m_table.post();
    } catch (const db::Error &e) {
        if (m_table.state() != db::Table::State::Browse)
            m_table.cancel();
        Q_EMIT writeFailed(e.message());
        return false;
    }
    refreshRow(index.row());
    return true;
}

} // namespace corvale
