#pragma once

#include <QColor>
#include <QHash>
#include <QIdentityProxyModel>

namespace corvale {

// Paints whole grid columns in their own background colours (money in light
// green, money out light pink), the rest in a default colour.
class ColumnBackgrounds : public QIdentityProxyModel {
    Q_OBJECT
public:
    explicit ColumnBackgrounds(QColor others, QObject *parent = nullptr)
        : QIdentityProxyModel(parent)
        , m_others(others) {}

    void setColumnColor(int column, QColor color) { m_colors.insert(column, color); }

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QColor m_others;
    QHash<int, QColor> m_colors;
};

} // namespace corvale
