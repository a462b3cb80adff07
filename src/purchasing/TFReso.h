#pragma once

#include "documents/DocumentKind.h"
#include "documents/DocumentWindow.h"

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace corvale {

class ArticleList;
class DocumentEntry;
class FieldBinding;
class LineSheet;
class LookupCombo;
class SheetGrid;
class Shop;
class SizePanel;
class SupplierChoice;

namespace db {
class Table;
}

// The return to a supplier ("RESO FORNITORE", RESI and ARCART_R, every line
// taken out of the stock on "Salva") or the order to a supplier ("ORDINE
// FORNITORE", ORDINI and ARCART_O, no stock moved). Created anew by its opener
// for every document, with DocumentKey 0 (new) or the key of a stored one;
// when it hides it notifies its opener.
class TFReso : public DocumentWindow {
    Q_OBJECT
public:
    enum class Mode { Return, Order };

    TFReso(Shop &shop, Mode mode, QWidget *parent = nullptr);
    ~TFReso() override;

    Mode DocumentMode;
    qint64 DocumentKey = 0;
    bool IsNew = true;

    LineSheet &sheet() { return *m_sheet; }
    SheetGrid &grid() { return *m_grid; }
    SizePanel &sizePanel() { return *m_panel; }
    db::Table &header() { return *m_header; }
    ArticleList &articles() { return *m_articles; }

    void BSalvaClick();
    void BAnnullaClick();
    void BStampaClick();
    void BNuovoFornitoreClick();
    void BNuovoClick();
    void BEliminaClick();
    // "Curva" of the size panel (orders): N pieces spread over the sizes as
    // the article's size type sold in the last year.
    void BCurvaClick();
    void computeTotals();

protected:
    void showEvent(QShowEvent *event) override;

private:
    DocumentKind kind() const;
    void FormActivate();
    void supplierChanged();
    void onlySupplierChanged();
    void closeTables();

    Shop &m_shop;
    bool m_activated = false;
    std::unique_ptr<LineSheet> m_sheet;
    std::unique_ptr<ArticleList> m_articles;
    std::unique_ptr<db::Table> m_header;
    FieldBinding *m_binding;
    LookupCombo *m_supplier;
    std::unique_ptr<SupplierChoice> m_suppliers;
    QLineEdit *m_number;
    QLineEdit *m_date;
    QCheckBox *m_onlySupplier;
    SheetGrid *m_grid;
    SizePanel *m_panel;
    DocumentEntry *m_entry;
    QLabel *m_pieces;
    QLabel *m_total;
    QList<QWidget *> m_toolbar;
};

} // namespace corvale
