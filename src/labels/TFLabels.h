#pragma once

#include <QDate>

#include "labels/LabelLayout.h"
#include "labels/LabelOptions.h"

#include <QDialog>
#include <memory>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace corvale {

class LabelGrid;
class Shop;
class TableModel;
class TPrintBarcode;

namespace db {
class Table;
}

// "STAMPA ETICHETTE": the price labels of the label list (ELEMENTI), which
// the receipt and the article archive fill before showing this window
// modally. The list can be narrowed, its prices, discounts and counts
// corrected, and printed on sheets of labels or on a label printer.
class TFLabels : public QDialog {
    Q_OBJECT
public:
    // The day whose prices the labels show; a null date for today.
    void setPriceDay(QDate day) { m_priceDay = day; }
    explicit TFLabels(Shop &shop, QWidget *parent = nullptr);
    ~TFLabels() override;

    db::Table &list() { return *m_list; }
    TableModel &model() { return *m_model; }
    LabelOptions options() const;
    LabelLayout layout() const;

    void BStampaClick();
    void BUscitaClick();
    void BCancellaClick();

protected:
    void showEvent(QShowEvent *event) override;
    // However the window is left, the list is closed.
    void done(int result) override;

private:
    void FormActivate();
    void searchChanged();
    void labelPrinterClicked();
    void barcodeOnlyClicked();
    void priceClicked();
    void setBusy(bool busy);
    bool drawWithControl(class PageCanvas &canvas, const QRect &bounds, const QString &code);

    Shop &m_shop;
    std::unique_ptr<db::Table> m_list;
    TableModel *m_model = nullptr;
    LabelGrid *m_grid = nullptr;
    TPrintBarcode *m_barcode = nullptr;
    QWidget *m_toolbar = nullptr;
    QWidget *m_listArea = nullptr;
    QWidget *m_layoutFields = nullptr;
    QCheckBox *m_labelPrinter = nullptr;
    QCheckBox *m_barcodeOnly = nullptr;
    QCheckBox *m_price = nullptr;
    QCheckBox *m_discounted = nullptr;
    QSpinBox *m_rows = nullptr;
    QSpinBox *m_columns = nullptr;
    QSpinBox *m_rowSpacing = nullptr;
    QSpinBox *m_columnSpacing = nullptr;
    QSpinBox *m_leftMargin = nullptr;
    QSpinBox *m_topMargin = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_description = nullptr;
    QDate m_priceDay;
};

} // namespace corvale
