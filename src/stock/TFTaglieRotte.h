#pragma once

#include "stock/BrokenSizes.h"
#include "stock/SizeRunWindow.h"

namespace corvale {

// "TAGLIE ROTTE": the broken size runs of the selection by value left, with
// the missing sizes; printed and exported like the other stock reports.
class TFTaglieRotte : public SizeRunWindow {
    Q_OBJECT
public:
    explicit TFTaglieRotte(Shop &shop, QWidget *parent = nullptr);

    const QList<BrokenSizeRow> &rows() const { return m_rows; }
    qint64 articleOfRow(int row) const override;
    void refresh() override;

    void BStampaClick();
    void BEsportaClick();

private:
    QList<BrokenSizeRow> m_rows;
};

} // namespace corvale
