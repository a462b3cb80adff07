#pragma once

#include "documents/DocumentWindow.h"

#include <QDate>

#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QResizeEvent;

namespace corvale {

class FieldBinding;
class ContactChoice;
class InvoiceStore;
class LineSheet;
class LookupCombo;
class SheetGrid;
class Shop;
class ArticlePhoto;
class TitleBand;
struct InvoicePrintout;

namespace db {
class Table;
}

// The invoice "FATTURA": a sale to a named customer, its lines by full article code, printed as the
// boxed invoice and stored in FATTURE and ARCART_V, lowering the stock. Created anew by its opener
// for every invoice, with DocumentKey 0 (new) or the key of a stored invoice; when it hides it
// notifies its opener.
class TFFattura : public DocumentWindow {
    Q_OBJECT
public:
    explicit TFFattura(Shop &shop, QWidget *parent = nullptr);
    ~TFFattura() override;

    qint64 DocumentKey = 0;
    bool IsNew = true;

    LineSheet &sheet() { return *m_sheet; }
    SheetGrid &grid() { return *m_grid; }
    db::Table &header();

    void BSalvaClick();
    void BAnnullaClick();
    void BStampaClick();
    void BEliminaClick();
    void BNuovoClienteClick();
    // "Fattura elettronica": stores the invoice, then writes its FatturaPA file
    // into archivio/FE, or says what is missing for it.
    void BFatturaElettronicaClick();
    // Enter in the code box: the article with that code on the current row.
    void enterCode(const QString &code);
    void computeTotals();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormActivate();
    void customerChanged();
    void layoutColumns();
    // Stores the invoice; false (the user was told why) when it is not stored.
    bool save();
    // What the printout needs, read before the save closes the tables.
    bool preparePrintout(InvoicePrintout &printout);
    std::optional<QDate> documentDate();
    void closeTables();

    Shop &m_shop;
    bool m_activated = false;
    std::unique_ptr<LineSheet> m_sheet;
    std::unique_ptr<InvoiceStore> m_store;
    std::unique_ptr<ContactChoice> m_customers;
    FieldBinding *m_binding;
    TitleBand *m_band;
    LookupCombo *m_customer;
    QLineEdit *m_number;
    QLineEdit *m_date;
    QCheckBox *m_toBank;
    SheetGrid *m_grid;
    QLabel *m_pieces;
    QLabel *m_total;
    // The article's photo beside the window, when the shop wants photos shown.
    std::unique_ptr<ArticlePhoto> m_photo;
};

} // namespace corvale
