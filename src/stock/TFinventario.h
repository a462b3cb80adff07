#pragma once

#include "stock/ArticleReportWindow.h"

#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;

namespace corvale {

class Inventory;

// "INVENTARIO": the yearly inventory of the catalogue, worked out from the
// document lines at every showing, with the filter bar, "Escludi", the totals
// of the rows in view, the printout and the ".XLS" export.
class TFinventario : public ArticleReportWindow {
    Q_OBJECT
public:
    explicit TFinventario(Shop &shop, QWidget *parent = nullptr);
    ~TFinventario() override;

    Inventory &inventory() { return *m_inventory; }

    void BUscitaClick();
    void BStampaClick();
    void BEsportaClick();
    void EscludiClick();

protected:
    void showEvent(QShowEvent *event) override;
    void filterChanged() override;

private:
    void FormActivate();
    void computeTotals();

    std::unique_ptr<Inventory> m_inventory;
    QLabel *m_year = nullptr;
    QCheckBox *m_exclude = nullptr;
    QComboBox *m_view = nullptr;
    QLabel *m_previousTotal = nullptr;
    QLabel *m_loadsTotal = nullptr;
    QLabel *m_salesTotal = nullptr;
    QLabel *m_stockTotal = nullptr;
    QLabel *m_valueTotal = nullptr;
};

} // namespace corvale
