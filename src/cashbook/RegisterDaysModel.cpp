#include "cashbook/RegisterDaysModel.h"

#include "platform/Formats.h"

#include <QBrush>
#include <QColor>

namespace corvale {

namespace {

QString amount(Money m) {
    return Formats::format(u"%10.2n", m.toDouble()).trimmed();
}

} // namespace

void RegisterDaysModel::setDays(const QList<RegisterDay> &days) {
    beginResetModel();
    m_days = days;
    endResetModel();
}

int RegisterDaysModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_days.size());
}

int RegisterDaysModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString RegisterDaysModel::cellText(const RegisterDay &day, Column column) {
    switch (column) {
    case Date:
        return day.date;
    case Takings:
        return amount(day.takings);
    case RegisterTotal:
        return day.registerTotal ? amount(*day.registerTotal) : QStringLiteral("—");
    case Difference: {
        const std::optional<Money> d = day.difference();
        return d ? amount(*d) : QString();
    }
    case ColumnCount:
        break;
    }
    return {};
}

QString RegisterDaysModel::title(Column column) {
    switch (column) {
    case Date:
        return QStringLiteral("Data");
    case Takings:
        return QStringLiteral("Incassi");
    case RegisterTotal:
        return QStringLiteral("Totale RT");
    case Difference:
        return QStringLiteral("Differenza");
    case ColumnCount:
        break;
    }
    return {};
}

QVariant RegisterDaysModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_days.size() || index.column() >= ColumnCount)
        return {};
    const RegisterDay &day = m_days[index.row()];
    const auto column = Column(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(day, column);
    case Qt::TextAlignmentRole:
        return column == Date ? int(Qt::AlignCenter) : int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        if (column == Difference && day.differs())
            return QBrush(Qt::red);
        break;
    default:
        break;
    }
    return {};
}

QVariant RegisterDaysModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return title(Column(section));
}

} // namespace corvale
