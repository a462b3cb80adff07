#pragma once

#include <QWidget>

#include <memory>

class QLineEdit;
class QPushButton;

namespace corvale {

class ContactDetails;
class OpenerWindow;
class Shop;
class TableGrid;
class TFFornitore;

namespace db {
class Table;
}

// "ARCHIVIO FORNITORI": the suppliers by name, searched by the start of the
// name, with the selected supplier's details; suppliers are added and edited
// through the contact card and deleted here. A borderless window its opener
// places in the main window's central panel.
class TFFornitori : public QWidget {
    Q_OBJECT
public:
    explicit TFFornitori(Shop &shop, QWidget *parent = nullptr);
    ~TFFornitori() override;

    void setOpener(OpenerWindow *opener) { m_opener = opener; }
    TFFornitore &card() { return *m_card; }
    TableGrid &grid() { return *m_grid; }

    void BNuovoClick();
    void BModificaClick();
    void BEliminaClick();
    void BUscitaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void searchChanged(const QString &text);
    void showDetails();
    void afterCard();

    Shop &m_shop;
    std::unique_ptr<db::Table> m_table;
    TableGrid *m_grid;
    QLineEdit *m_search;
    ContactDetails *m_details;
    TFFornitore *m_card;
    OpenerWindow *m_opener = nullptr;
};

} // namespace corvale
