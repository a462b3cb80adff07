#include "catalogue/SizeGridModel.h"

#include <QApplication>
#include <QPalette>

namespace corvale {

void SizeGridModel::setSizeTitles(const QStringList &titles) {
    m_titles = titles;
    if (columnCount() > 1)
        Q_EMIT headerDataChanged(Qt::Horizontal, 1, columnCount() - 1);
}

QVariant SizeGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // Column 0 is the colour; the sizes follow.
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 1 &&
        section <= m_titles.size())
        return m_titles.at(section - 1);
    return QIdentityProxyModel::headerData(section, orientation, role);
}

QVariant SizeGridModel::data(const QModelIndex &index, int role) const {
    if (role == Qt::BackgroundRole && index.column() >= 1) {
        const QVariant value = QIdentityProxyModel::data(index, Qt::DisplayRole);
        const QString text = value.toString().trimmed();
        if (text.isEmpty() || text.toDouble() == 0)
            return QApplication::palette().button();
    }
    return QIdentityProxyModel::data(index, role);
}

} // namespace corvale
