#pragma once

#include "catalogue/SizeRunArticles.h"
#include "printing/PrintJob.h"

#include <QPushButton>
#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QStandardItemModel;
class QTableView;
class QVBoxLayout;

namespace corvale {

class LookupCombo;
class Shop;
class SizeGridModel;

namespace db {
class Table;
}

// What the size-run reports share: a borderless window of the central
// panel with a title band, a toolbar, a selection bar (supplier, brand,
// category, season and year as the articles carry them), a list and a totals
// line. The list is the window's own model; a change of the selection
// computes the report again. A double click on a row opens the article card
// of that row's article (when one is handed in).
class SizeRunWindow : public QWidget {
    Q_OBJECT
public:
    using ArticleCard = std::function<void(qint64 article)>;
    void setArticleCard(ArticleCard card) { m_card = std::move(card); }

    SizeRunSelection selection() const;
    QStandardItemModel &model() { return *m_model; }
    QTableView &list() { return *m_list; }
    QLabel &totals() { return *m_totals; }
    // The stock grid under the list: the colours and sizes of the selected
    // row's article, under its size labels.
    QTableView &stockGrid() { return *m_stockGrid; }
    QStandardItemModel &stockRows() { return *m_stockRows; }

    // The article of list row `row` (0 when none).
    virtual qint64 articleOfRow(int row) const = 0;
    // Computes the report again from the tables and shows it.
    virtual void refresh() = 0;

    void BUscitaClick();

protected:
    SizeRunWindow(Shop &shop, const QString &heading, const QString &caption, QWidget *parent);
    ~SizeRunWindow() override;

    template <typename Window>
    QPushButton *addButton(const QString &caption, void (Window::*handler)()) {
        QPushButton *b = makeButton(caption);
        connect(b, &QPushButton::clicked, static_cast<Window *>(this), handler);
        return b;
    }
    // A control of the selection bar after the standard ones.
    void addSelectionControl(const QString &caption, QWidget *control);
    // The area under the list (a chart, say).
    QVBoxLayout &body() { return *m_body; }
    void setColumns(const QStringList &titles);
    // Called by the selection boxes; refresh() unless the window is busy.
    void selectionChanged();
    void print(const QString &title, const PrintDocument &document);
    // Windows whose rows are no articles show no stock grid.
    void hideStockGrid();

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    Shop &m_shop;
    bool m_busy = true;

private:
    QPushButton *makeButton(const QString &caption);
    void openLists();
    void rowDoubleClicked(const QModelIndex &index);
    void showStockOf(qint64 article);

    QHBoxLayout *m_toolbar = nullptr;
    // The selection in rows of at most selectionsPerRow captioned controls.
    static constexpr int selectionsPerRow = 4;
    QGridLayout *m_selectionBar = nullptr;
    int m_selections = 0;
    QVBoxLayout *m_body = nullptr;
    LookupCombo *m_supplier = nullptr;
    LookupCombo *m_brand = nullptr;
    LookupCombo *m_category = nullptr;
    QComboBox *m_season = nullptr;
    QComboBox *m_year = nullptr;
    QStandardItemModel *m_model = nullptr;
    QTableView *m_list = nullptr;
    QLabel *m_totals = nullptr;
    QStandardItemModel *m_stockRows = nullptr;
    SizeGridModel *m_stockTitles = nullptr;
    QTableView *m_stockGrid = nullptr;
    qint64 m_stockArticle = -1;
    std::unique_ptr<db::Table> m_suppliers;
    std::unique_ptr<db::Table> m_brands;
    std::unique_ptr<db::Table> m_categories;
    ArticleCard m_card;
};

} // namespace corvale
