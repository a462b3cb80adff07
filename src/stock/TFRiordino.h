#pragma once

#include "stock/ReorderOrders.h"
#include "stock/SizeRunWindow.h"

class QSpinBox;
class QStandardItem;

namespace corvale {

// "RIORDINO": the reorder suggestions of the selection per article, colour
// and size; the last column ("Da ordinare") is edited in the grid, and
// "Crea ordine" stores one supplier order per supplier, lists them and opens
// the first in the order window.
class TFRiordino : public SizeRunWindow {
    Q_OBJECT
public:
    using OrderWindow = std::function<void(qint64 order)>;

    explicit TFRiordino(Shop &shop, QWidget *parent = nullptr);

    void setOrderWindow(OrderWindow window) { m_orderWindow = std::move(window); }

    const QList<ReorderRow> &rows() const { return m_rows; }
    ReorderSettings settings() const;
    qint64 articleOfRow(int row) const override;
    void refresh() override;

    void BCreaOrdineClick();
    void BStampaClick();
    void BEsportaClick();

    static constexpr int quantityColumn = 9;

private:
    void itemChanged(QStandardItem *item);
    void settingsChanged();
    void showTotals();

    QSpinBox *m_salesWeeks;
    QSpinBox *m_coverWeeks;
    QList<ReorderRow> m_rows;
    OrderWindow m_orderWindow;
    bool m_filling = false;
};

} // namespace corvale
