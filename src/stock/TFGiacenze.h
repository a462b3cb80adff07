#pragma once

#include <QStringList>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvale {

class CaptionBox;
class LookupCombo;
class Shop;
class StockLevels;
class TableGrid;

namespace db {
class Table;
}

// "GIACENZE MAGAZZINO": the stock of every article of one size type, summed
// over its colours, under the size type's labels, with the brand, category,
// season, description and code filters, the "TOTALI" row and the printout.
// The opener sets the size type, its caption and the twenty titles before
// showing it.
class TFGiacenze : public QWidget {
    Q_OBJECT
public:
    explicit TFGiacenze(Shop &shop, QWidget *parent = nullptr);
    ~TFGiacenze() override;

    qint64 SizeTypeKey = 0;
    // "TAGLIA " + the size type's name, and the twenty labels (a blank for an empty one).
    void setSizeType(qint64 key, const QString &caption, const QStringList &titles);

    StockLevels &levels() { return *m_levels; }
    TableGrid &grid() { return *m_grid; }

    void BStampaClick();
    void BUscitaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormActivate();
    void filterChanged();
    void computeTotals();
    void fitColumns();
    void addColumns();

    Shop &m_shop;
    std::unique_ptr<StockLevels> m_levels;
    std::unique_ptr<db::Table> m_brands;
    std::unique_ptr<db::Table> m_categories;
    bool m_busy = true;
    QString m_caption;
    QStringList m_titles;

    LookupCombo *m_brand = nullptr;
    QPushButton *m_clearBrand = nullptr;
    LookupCombo *m_category = nullptr;
    QPushButton *m_clearCategory = nullptr;
    QComboBox *m_season = nullptr;
    CaptionBox *m_panel = nullptr;
    QLineEdit *m_description = nullptr;
    QLineEdit *m_code = nullptr;
    TableGrid *m_grid = nullptr;
    QWidget *m_totalsRow = nullptr;
    QLabel *m_totalsTitle = nullptr;
    QList<QLabel *> m_totals;
};

} // namespace corvale
