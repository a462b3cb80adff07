#pragma once

#include "stock/SellThrough.h"

#include <QDialog>

class QComboBox;
class QTableWidget;

namespace corvale {

class Shop;

// "VENDUTO PER STAGIONE": the sell-through of a season by brand, category or
// supplier, on screen, printed and exported to ".XLS".
class TFVenduto : public QDialog {
    Q_OBJECT
public:
    explicit TFVenduto(Shop &shop, QWidget *parent = nullptr);

    SellThrough::Request request() const;
    const QList<SellThrough::Row> &rows() const { return m_rows; }

    void BCalcolaClick();
    void BStampaClick();
    void BEsportaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString title() const;

    Shop &m_shop;
    QList<SellThrough::Row> m_rows;
    QComboBox *m_season;
    QComboBox *m_year;
    QComboBox *m_grouping;
    QTableWidget *m_grid;
};

} // namespace corvale
