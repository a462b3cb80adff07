#pragma once

#include "documents/DocumentKind.h"
#include "documents/DocumentWindow.h"

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvale {

class ArticleList;
class DocumentEntry;
class FieldBinding;
class LineSheet;
class LookupCombo;
class SheetGrid;
class Shop;
class SizePanel;
class ContactChoice;
class TitleBand;

namespace db {
class Table;
}

// What the documents exchanged with a supplier (goods received, goods sent
// back, orders) have in common: the title band, "Annulla", "Salva" and
// "Stampa", the supplier with "Nuovo Fornitore", the document's number and
// date, "Solo articoli del Fornitore", the sheet entered per article and
// colour through the size panel, "Elimina" and "Nuovo" under it, the pieces
// and the total; opening a new or stored document, saving it through the
// DocumentSaver and cancelling it. Each window adds what is its own.
class SupplierDocumentWindow : public DocumentWindow {
    Q_OBJECT
public:
    // How a window differs in its texts and its few extra boxes.
    struct Form {
        QString windowName;            // the object name
        QString heading;               // of the title band
        QString noun;                  // "Carico": "Nuovo Carico", "Carico non trovato!"
        QString numberCaption;         // over the document's number
        QString numberName;            // the number box's object name
        QString dateError;             // when the typed date is not one
        QString sizeTypeCaption;       // of the size panel
        bool supplierDocument = false; // "N° Doc.", the supplier's own number
        bool documentDiscount = false; // "Sconto %" on the whole document
        bool labels = false;           // "Etichette"
        bool newArticle = true;        // "Nuovo" shown
    };

    ~SupplierDocumentWindow() override;

    qint64 DocumentKey = 0;
    bool IsNew = true;

    LineSheet &sheet() { return *m_sheet; }
    SheetGrid &grid() { return *m_grid; }
    SizePanel &sizePanel() { return *m_panel; }
    db::Table &header() { return *m_header; }
    ArticleList &articles() { return *m_articles; }

    void BSalvaClick();
    void BAnnullaClick();
    virtual void BStampaClick() = 0;
    void BNuovoFornitoreClick();
    void BNuovoClick();
    void BEliminaClick();
    void computeTotals();

protected:
    SupplierDocumentWindow(Shop &shop, const DocumentKind &kind, bool allArticles, const Form &form,
                           QWidget *parent);

    void showEvent(QShowEvent *event) override;

    // The document's own discount in percent (none without its box).
    double discount() const;
    const Form &form() const { return m_form; }

    Shop &m_shop;
    DocumentKind m_kind;
    std::unique_ptr<LineSheet> m_sheet;
    std::unique_ptr<ArticleList> m_articles;
    std::unique_ptr<db::Table> m_header;
    FieldBinding *m_binding;
    TitleBand *m_band;
    LookupCombo *m_supplier;
    std::unique_ptr<ContactChoice> m_suppliers;
    QLineEdit *m_number;
    QLineEdit *m_supplierDocument = nullptr;
    QLineEdit *m_date;
    QCheckBox *m_onlySupplier;
    SheetGrid *m_grid;
    SizePanel *m_panel;
    DocumentEntry *m_entry;
    QLabel *m_pieces;
    QLabel *m_total;
    QLineEdit *m_discount = nullptr;
    QPushButton *m_labelsButton = nullptr;
    QList<QWidget *> m_toolbar;

private:
    void FormActivate();
    void supplierChanged();
    void onlySupplierChanged();
    void discountChanged();
    void closeTables();

    Form m_form;
    bool m_activated = false;
};

} // namespace corvale
