#pragma once

#include "sales/VoucherStore.h"

#include <QDialog>

class QTableWidget;

namespace corvale {

class Shop;

// "BUONI": the store-credit vouchers with their value, residual and expiry,
// and the history of the one selected (issue, payments, payments given
// back); "Stampa" prints it again. Opened from the sales archive.
class TFBuoni : public QDialog {
    Q_OBJECT
public:
    explicit TFBuoni(Shop &shop, QWidget *parent = nullptr);

    // Reads the vouchers again.
    void reload();
    QTableWidget &list() { return *m_list; }
    QTableWidget &history() { return *m_history; }

    void BStampaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showHistory();

    Shop &m_shop;
    QList<Voucher> m_vouchers;
    QTableWidget *m_list;
    QTableWidget *m_history;
};

// Prints `voucher` on the shop's printer (preview or PDF as chosen).
void printVoucher(Shop &shop, const Voucher &voucher);

} // namespace corvale
