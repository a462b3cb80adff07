#pragma once

#include "stock/ArticleReportWindow.h"
#include "stock/MovementPeriod.h"

#include <memory>

class QComboBox;
class QDateEdit;
class QLabel;

namespace corvale {

class Movements;

// "CARICO/SCARICO": what every article loaded and unloaded in the period
// chosen in "Data", with the filter bar, the totals band, the printout and
// the ".XLS" export.
class TFVendite : public ArticleReportWindow {
    Q_OBJECT
public:
    explicit TFVendite(Shop &shop, QWidget *parent = nullptr);
    ~TFVendite() override;

    Movements &movements() { return *m_movements; }
    MovementPeriod period() const;

    void BUscitaClick();
    void BStampaClick();
    void BEsportaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void filterChanged() override;

private:
    void FormActivate();
    void periodChanged();
    void computeSums();
    void computeTotals();

    std::unique_ptr<Movements> m_movements;
    QComboBox *m_period = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QLabel *m_totals[5] = {};
};

} // namespace corvale
