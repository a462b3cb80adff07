#pragma once

#include "cashbook/RegisterDay.h"

#include <QAbstractTableModel>
#include <QList>

namespace corvale {

// The days of the register check as the Prima nota lists them: date, the
// program's takings, the register's total ("—" without a closure) and the
// difference, in red when it is not zero.
class RegisterDaysModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Date, Takings, RegisterTotal, Difference, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setDays(const QList<RegisterDay> &days);
    const QList<RegisterDay> &days() const { return m_days; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The texts of one day's cells, shared with the printout.
    static QString cellText(const RegisterDay &day, Column column);
    static QString title(Column column);

private:
    QList<RegisterDay> m_days;
};

} // namespace corvale
