#pragma once

#include <QWidget>

class QPushButton;
class QVBoxLayout;

namespace corvale {

class CaptionBox;
class ContactDetails;
class OpenerWindow;
class Shop;
class TableGrid;
class TFFornitore;

namespace db {
class Table;
}

// The frame the two contact archives share: title band, "Nuovo", "Modifica",
// "Elimina" and "Uscita", the "Ricerca" box for the list on the left and the
// selected contact's details on the right, and the contact card that adds and
// edits them. The archive puts its search boxes and its grid in the list box
// and says how its list opens, searches, deletes and closes.
class ContactArchiveFrame : public QWidget {
    Q_OBJECT
public:
    ~ContactArchiveFrame() override;

    void setOpener(OpenerWindow *opener) { m_opener = opener; }
    TFFornitore &card() { return *m_card; }
    TableGrid &grid() { return *m_grid; }

    void BNuovoClick();
    void BModificaClick();
    virtual void BEliminaClick() = 0;
    void BUscitaClick();

protected:
    // `customers` opens the card in customer mode.
    ContactArchiveFrame(Shop &shop, const QString &name, const QString &title, bool customers,
                        QWidget *parent);

    void showEvent(QShowEvent *event) override;

    Shop &shop() { return m_shop; }
    CaptionBox &listBox() { return *m_listBox; }
    QVBoxLayout &listLayout() { return *m_listLayout; }
    // The archive's grid, made on its list; placed at the bottom of the list box.
    void setGrid(TableGrid *grid);
    // True when a row may be edited or deleted.
    bool hasSelection() const;
    void showDetails();

    // The list's table handle, and whether it is open.
    virtual db::Table &listTable() = 0;
    virtual bool listOpen() const = 0;
    // True when the handle stands on a contact.
    virtual bool onContact() const = 0;
    // Opens the list afresh with empty search boxes and puts the focus in the first.
    virtual void activate() = 0;
    virtual void closeList() = 0;

private:
    void afterCard();

    Shop &m_shop;
    const bool m_customers;
    CaptionBox *m_listBox;
    QVBoxLayout *m_listLayout;
    TableGrid *m_grid = nullptr;
    ContactDetails *m_details;
    TFFornitore *m_card;
    OpenerWindow *m_opener = nullptr;
};

} // namespace corvale
