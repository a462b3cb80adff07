#include "cashbook/ColumnBackgrounds.h"

namespace corvale {

QVariant ColumnBackgrounds::data(const QModelIndex &index, int role) const {
    if (role == Qt::BackgroundRole)
        return m_colors.value(index.column(), m_others);
    return QIdentityProxyModel::data(index, role);
}

} // namespace corvale
