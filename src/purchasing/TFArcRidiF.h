#pragma once

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;

namespace corvale {

class Shop;
class TableGrid;

namespace db {
class Table;
}

// "PAGAMENTI FORNITORI": for each supplier its receipts and returns from a
// chosen year (everything earlier summed as "Dare Iniziale"), the payments
// made to it, entered here through the payment window, and what is still
// owed; the statement of movements from a date can be printed.
class TFArcRidiF : public QDialog {
    Q_OBJECT
public:
    explicit TFArcRidiF(Shop &shop, QWidget *parent = nullptr);
    ~TFArcRidiF() override;

    TableGrid &supplierList() { return *m_supplierList; }
    TableGrid &statementList() { return *m_statementList; }
    TableGrid &paymentList() { return *m_paymentList; }

    void BNuovoClick();
    void BModificaClick();
    void BEliminaClick();
    void BStampaClick();
    void BUscitaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void searchChanged();
    void yearChanged();
    void supplierChanged();
    void computeSums();
    qint64 currentSupplier() const;
    void closeTables();

    Shop &m_shop;
    std::unique_ptr<db::Table> m_suppliers;
    std::unique_ptr<db::Table> m_statement;
    std::unique_ptr<db::Table> m_payments;
    QComboBox *m_year;
    QLineEdit *m_search;
    TableGrid *m_supplierList;
    TableGrid *m_statementList;
    TableGrid *m_paymentList;
    QLabel *m_documentsSum;
    QLabel *m_paymentsSum;
    QLabel *m_balance;
    bool m_opening = false;
};

} // namespace corvale
