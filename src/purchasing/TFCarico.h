#pragma once

#include "documents/DocumentWindow.h"

#include <functional>
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
class SupplierChoice;
class TitleBand;

namespace db {
class Table;
}

// The goods receipt "ACQUISTO": a delivery from a supplier, its lines entered
// per article and colour through the size panel, stored in CARICHI and
// ARCART_A and added to the stock on "Salva". Created anew by its opener for
// every receipt, with DocumentKey 0 (new) or the key of a stored receipt;
// when it hides it notifies its opener.
class TFCarico : public DocumentWindow {
    Q_OBJECT
public:
    explicit TFCarico(Shop &shop, QWidget *parent = nullptr);
    ~TFCarico() override;

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
    void BEtichetteClick();
    void BEliminaClick();
    void computeTotals();
    // The label window, shown modally over the sheet as "Etichette" leaves it.
    void setLabelWindow(std::function<void()> window) { m_labels = std::move(window); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void supplierChanged();
    void onlySupplierChanged();
    void discountChanged();
    double discount() const;
    void closeTables();

    Shop &m_shop;
    bool m_activated = false;
    std::unique_ptr<LineSheet> m_sheet;
    std::unique_ptr<ArticleList> m_articles;
    std::unique_ptr<db::Table> m_header;
    FieldBinding *m_binding;
    TitleBand *m_band;
    LookupCombo *m_supplier;
    std::unique_ptr<SupplierChoice> m_suppliers;
    QLineEdit *m_number;
    QLineEdit *m_supplierDocument;
    QLineEdit *m_date;
    QCheckBox *m_onlySupplier;
    SheetGrid *m_grid;
    SizePanel *m_panel;
    DocumentEntry *m_entry;
    QLabel *m_pieces;
    QLabel *m_total;
    QLineEdit *m_discount;
    QList<QWidget *> m_toolbar;
    std::function<void()> m_labels;
};

} // namespace corvale
