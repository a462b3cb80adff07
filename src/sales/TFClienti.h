#pragma once

#include <QWidget>

#include <memory>

class QLineEdit;

namespace corvale {

class CustomerList;
class ContactDetails;
class OpenerWindow;
class Shop;
class TableGrid;
class TFFornitore;

// "ARCHIVIO CLIENTI": the customers by name with what each has bought and the
// points left, searched by the start of the name and by the card number, with
// the selected customer's details. Customers are added and edited through the
// contact card in customer mode, deleted here, and spend points through
// "Scala punti". Shown modally by the archive hub.
class TFClienti : public QWidget {
    Q_OBJECT
public:
    explicit TFClienti(Shop &shop, QWidget *parent = nullptr);
    ~TFClienti() override;

    void setOpener(OpenerWindow *opener) { m_opener = opener; }
    TFFornitore &card() { return *m_card; }
    TableGrid &grid() { return *m_grid; }
    CustomerList &list() { return *m_list; }

    void BNuovoClick();
    void BModificaClick();
    void BEliminaClick();
    void BScalaClick();
    void BUscitaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void searchChanged();
    void showDetails();
    void afterCard();

    Shop &m_shop;
    std::unique_ptr<CustomerList> m_list;
    TableGrid *m_grid;
    QLineEdit *m_nameSearch;
    QLineEdit *m_cardSearch;
    ContactDetails *m_details;
    TFFornitore *m_card;
    OpenerWindow *m_opener = nullptr;
};

} // namespace corvale
