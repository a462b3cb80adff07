#pragma once

#include "catalogue/ListEntries.h"

#include <QDialog>
#include <QList>

#include <memory>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace corvale {

class CaptionBox;

class LookupCombo;
class Shop;
class TableGrid;

namespace db {
class Table;
}

// "VARIE": the name lists the articles refer to (categories, colours, brands,
// typologies, materials, soles, heel and wedge measures, seasons) and "Variazioni", the
// bulk change of prices or discount over a brand and/or a supplier.
class TFAltri : public QDialog {
    Q_OBJECT
public:
    enum ListIndex { Categories, Colours, Brands, Typologies, Materials, Soles, Measures, Seasons };

    explicit TFAltri(Shop &shop, QWidget *parent = nullptr);
    ~TFAltri() override;

    TableGrid &grid(ListIndex list);
    void newEntry(ListIndex list);
    void deleteEntry(ListIndex list);
    void BEseguiClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct NameList {
        QString title;
        ListEntries::List entries;
        QString tag;
        QString newCaption;
        QString newPrompt;
        QString deleteQuestion;
        std::unique_ptr<db::Table> table;
        TableGrid *grid = nullptr;
    };

    // The eight lists: caption, entries, index, and the texts of "Nuovo" and "Elimina".
    void defineLists();
    // List `i` in its box with its "Nuovo" and "Elimina".
    CaptionBox *listBox(int i, const QString &background);
    // "Variazioni": the bulk change of prices or discounts.
    QWidget *variationsBox(const QString &background);
    void FormActivate();
    void closeTables();

    Shop &m_shop;
    QList<NameList *> m_lists;
    std::unique_ptr<db::Table> m_brands;
    std::unique_ptr<db::Table> m_suppliers;
    QLineEdit *m_percent;
    QButtonGroup *m_target;
    LookupCombo *m_brand;
    LookupCombo *m_supplier;
    QCheckBox *m_allBrands;
    QCheckBox *m_allSuppliers;
    QPushButton *m_run;
};

} // namespace corvale
