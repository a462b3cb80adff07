#pragma once

#include "cashbook/PrimaNotaContent.h"
#include "db/Table.h"

#include <QWidget>

class QCheckBox;
class QDateEdit;
class QLabel;
class QTableView;

namespace corvale {

class RegisterDaysModel;
class Shop;
class TableModel;
class TFNotaM;

// "PRIMA NOTA": the day book of money for the period between "DAL" and "AL",
// rebuilt from the sales, invoices, payments and books whenever the period
// changes or a book was edited, with its balances, printout and export.
class TFPrimaNota : public QWidget {
    Q_OBJECT
public:
    explicit TFPrimaNota(Shop &shop, QWidget *parent = nullptr);
    ~TFPrimaNota() override;

    TFNotaM &books() { return *m_books; }
    TableModel &grid() { return *m_model; }
    // The days of counter takings beside the register's closures.
    RegisterDaysModel &registerDays() { return *m_registerModel; }
    // What the last rebuild gathered (no lines after a failed one).
    const PrimaNotaContent &content() const { return m_content; }

    // Rebuilds PRIMANOT for the period shown; false when the period was refused
    // or the rebuild failed (the user has been told).
    bool Rebuild();
    void BCassaClick();
    void BBancaClick();
    void BVarieClick();
    void BStampaClick();
    void BEsportaClick();
    void BUscitaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void openBook(cashbook::Book book);
    void fitColumns();
    void showTotals();
    void showRegisterDays();

    Shop &m_shop;
    db::Table m_table;
    TableModel *m_model;
    QTableView *m_grid;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QLabel *m_totals[3];
    QCheckBox *m_compare;
    RegisterDaysModel *m_registerModel;
    QTableView *m_registerGrid;
    bool m_compareChosen = false;
    TFNotaM *m_books;
    PrimaNotaContent m_content;
    // Set while a rebuild runs or the window sets its own dates.
    bool m_busy = false;
};

} // namespace corvale
