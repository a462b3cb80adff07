#pragma once

#include "stock/StockFilter.h"
#include "stock/StockWindowKit.h"
#include "widgets/OpenerWindow.h"

#include <QList>
#include <QPushButton>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace corvale {

class LookupCombo;
class Shop;
class TableGrid;
class TFFoto;

namespace db {
class Table;
}

// What the inventory and the load and unload summary share: a borderless
// window of the central panel with a title band, a toolbar, the filter bar
// whose boxes stand over the list columns they filter (code, description,
// supplier, brand, then the window's own boxes and the season), the article
// list, a totals band under the list columns and the photo window. Hiding
// tells the opener (the article archive) to refresh.
class ArticleReportWindow : public QWidget {
    Q_OBJECT
public:
    void setOpener(OpenerWindow *opener) { m_opener = opener; }
    TableGrid &grid() { return *m_grid; }
    StockFilterBoxes filterBoxes() const;

protected:
    ArticleReportWindow(Shop &shop, const QString &heading, const QString &caption,
                        QWidget *parent);
    ~ArticleReportWindow() override;

    template <typename Window>
    QPushButton *addButton(const QString &caption, const QString &hint, void (Window::*handler)()) {
        QPushButton *b = makeButton(caption, hint);
        connect(b, &QPushButton::clicked, static_cast<Window *>(this), handler);
        return b;
    }
    QHBoxLayout &toolbar() { return *m_toolbar; }
    // The list over `articles`; columns 0 to 3 must be code, description,
    // supplier and brand, the description taking the width left over. Titles
    // of the columns in `titleLooks` are drawn on their colours.
    void buildGrid(db::Table &articles,
                   const QList<QPair<int, StockWindowKit::Look>> &titleLooks = {});
    // A control of the filter bar after the brand box, in the order added.
    void addFilterControl(QWidget *control, int gapBefore = 0);
    // A bold, right-aligned total under list column `column`, showing "0".
    QLabel *addTotal(const QString &name, int column);
    // A control at the left of the totals band.
    void addBandControl(QWidget *control);
    void fitColumns();

    // Opens the supplier and brand lists again, keeping the choices.
    void reopenLists();
    void closeLists();
    void showPhotoWindowIfWanted();
    void hidePhotoWindow();

    // "Solo articoli con movimenti?" before a print: nothing on "Annulla",
    // otherwise whether only the articles with movements go on paper.
    std::optional<bool> askMovementsOnly();
    // After a print: the list back on its first row.
    void listFromFirstRow();
    // "Esporta": the lines `read` gives offered as a ".XLS" file; an engine
    // error while reading them is shown instead.
    void exportList(const std::function<QStringList()> &read);
    // "Uscita": the list and the filter bar's lists close, the window hides.
    void leave();

    // Called on every change of a filter box while the window is not busy.
    virtual void filterChanged() = 0;

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    Shop &m_shop;
    bool m_busy = true;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_description = nullptr;
    LookupCombo *m_supplier = nullptr;
    LookupCombo *m_brand = nullptr;
    QComboBox *m_season = nullptr;
    TableGrid *m_grid = nullptr;

private:
    QPushButton *makeButton(const QString &caption, const QString &hint);
    void boxChanged();
    void followRow();

    QVBoxLayout *m_layout = nullptr;
    QHBoxLayout *m_toolbar = nullptr;
    QWidget *m_filterBar = nullptr;
    QWidget *m_band = nullptr;
    QList<QWidget *> m_filterControls;
    QList<int> m_filterGaps;
    QList<QPair<QLabel *, int>> m_totals;
    QList<QWidget *> m_bandControls;
    std::unique_ptr<db::Table> m_suppliers;
    std::unique_ptr<db::Table> m_brands;
    db::Table *m_articles = nullptr;
    TFFoto *m_photo = nullptr;
    OpenerWindow *m_opener = nullptr;
};

} // namespace corvale
