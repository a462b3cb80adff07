#pragma once

#include "cashbook/BookMovements.h"

#include <QDialog>

class QDateEdit;
class QPushButton;
class QTableView;

namespace corvale {

class Shop;
class TableModel;
class TFInOut;
class TitleBand;

// One book of the cash book (cash, bank or other) for a period: its movements
// by date, money in and money out entered through TFInOut, a movement changed
// by a double click on it, and deletion. Opened modally by the Prima nota.
class TFNotaM : public QDialog {
    Q_OBJECT
public:
    explicit TFNotaM(Shop &shop, QWidget *parent = nullptr);
    ~TFNotaM() override;

    // The book and the texts that make the window read as it; set before showing.
    void setBook(cashbook::Book book);
    cashbook::Book book() const { return m_movements.book(); }
    // The period, copied from the caller's "DAL" and "AL".
    void setPeriod(const QDate &from, const QDate &to);

    TFInOut &entryDialog() { return *m_entry; }
    TableModel &list() { return *m_model; }

    void BEntrataClick();
    void BUscitaClick();
    void BEliminaClick();
    void BUscitaWindowClick();
    void GridDblClick();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void applyPeriod();
    void enter(BookMovements::Direction direction, const QString &title);
    void refreshList();

    Shop &m_shop;
    BookMovements m_movements;
    TitleBand *m_band;
    QPushButton *m_in;
    QPushButton *m_out;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QTableView *m_grid;
    TableModel *m_model;
    TFInOut *m_entry;
    // Date changes touch the table only while the window is active.
    bool m_dateHandling = false;
};

} // namespace corvale
