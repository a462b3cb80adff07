#pragma once

#include <QIdentityProxyModel>
#include <QStringList>

namespace corvale {

// The stock grid's view of its rows: the colour column and twenty size
// columns titled with the labels of the article's size type; a size cell
// holding 0 or nothing is painted in the button-face colour, so the sizes in
// stock stand out.
class SizeGridModel : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    void setSizeTitles(const QStringList &titles);
    const QStringList &sizeTitles() const { return m_titles; }

    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QStringList m_titles;
};

} // namespace corvale
