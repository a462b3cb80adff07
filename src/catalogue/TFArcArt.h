#pragma once

#include "widgets/OpenerWindow.h"

#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTableView;

namespace corvale {

class ArticleBrowser;
class LookupCombo;
class Shop;
class SizeGridModel;
class TableGrid;
class TableModel;
class TFFoto;
class TFScheda;

// "ARCHIVIO ARTICOLI": the articles in description order under a filter bar,
// with the stock rows of the selected article (colours × the sizes of its
// size type) below. Articles are created and edited through the article card
// and deleted here; the list and a photo catalogue are printed, barcode
// labels of the stock prepared, and the stock windows of the shop opened.
//
// In picking mode (for a document window) "Aggiungi" hands the selected
// article back: PickedDescription is set, articlePicked() is emitted and the
// caller is notified, then the window closes.
class TFArcArt : public QWidget, public OpenerWindow {
    Q_OBJECT
public:
    enum class Mode { Normal, Picking };

    struct ArticleRef {
        qint64 key = 0;
        QString code;
        QString description;
    };
    // Windows of other parts of the program, handed in by whoever assembles
    // it; a button whose window is not handed in says that it is not there yet.
    using PanelWindow = std::function<void(OpenerWindow *opener)>;
    using HistoryWindow = std::function<void(const ArticleRef &article)>;
    using DialogWindow = std::function<void()>;

    explicit TFArcArt(Shop &shop, QWidget *parent = nullptr);
    ~TFArcArt() override;

    // The caller stays until the next opening in picking mode.
    void setMode(Mode mode, OpenerWindow *caller = nullptr);
    Mode mode() const { return m_mode; }
    QString PickedDescription;

    void setInventoryWindow(PanelWindow window) { m_inventory = std::move(window); }
    void setMovementsWindow(PanelWindow window) { m_movements = std::move(window); }
    void setReceiptWindow(PanelWindow window) { m_receipt = std::move(window); }
    void setHistoryWindow(HistoryWindow window) { m_history = std::move(window); }
    void setChartWindow(DialogWindow window) { m_chart = std::move(window); }
    void setLabelWindow(DialogWindow window) { m_labels = std::move(window); }
    // The size-run reports, one toolbar button each (caption, window).
    void setSizeRunWindows(const QList<QPair<QString, DialogWindow>> &windows);

    TFScheda &card() { return *m_card; }
    TFFoto &photoWindow() { return *m_photo; }
    ArticleBrowser &browser() { return *m_browser; }
    TableGrid &grid() { return *m_grid; }
    QTableView &stockGrid() { return *m_stockGrid; }
    SizeGridModel &stockModel() { return *m_stockTitles; }

    // Codes 0 and 1: the list is read again (and the photo window shown when wanted).
    void receiveNotification(int code) override;

    void BNuovoClick();
    void BModificaClick();
    void BEliminaClick();
    void BInventarioClick();
    void BStoricoClick();
    void BMovimentiClick();
    void BGraficoClick();
    void BCaricoClick();
    void BEtichetteClick();
    void BCatalogoClick();
    void BAggiungiClick();
    void BStampaClick();
    // "Stagione": one season and year for every article listed.
    void BStagioneClick();
    void BUscitaClick();

Q_SIGNALS:
    void articlePicked(qint64 key, const QString &description);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    enum Column {
        Code,
        Description,
        Brand,
        Typology,
        Material,
        SizeType,
        Price,
        Category,
        Season,
        Year,
        Sole,
        Heel,
        Wedge
    };

    void buildToolbar();
    void buildFilterBar();
    void buildGrids();
    void FormActivate();
    void openLists();
    void layoutColumns();
    void filterChanged();
    void articleChanged();
    void refreshList();
    void showCard(bool newArticle);
    void showPhotoWindow();
    void closePhotoWindow();
    bool listEmpty();
    ArticleRef selected();

    Shop &m_shop;
    std::unique_ptr<ArticleBrowser> m_browser;
    Mode m_mode = Mode::Normal;
    OpenerWindow *m_caller = nullptr;
    bool m_quiet = false;

    QWidget *m_filterBar = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_description = nullptr;
    LookupCombo *m_brand = nullptr;
    LookupCombo *m_typology = nullptr;
    LookupCombo *m_material = nullptr;
    LookupCombo *m_sizeType = nullptr;
    LookupCombo *m_category = nullptr;
    QCheckBox *m_discounted = nullptr;
    QComboBox *m_season = nullptr;
    QComboBox *m_year = nullptr;

    TableGrid *m_grid = nullptr;
    TableModel *m_stockRows = nullptr;
    SizeGridModel *m_stockTitles = nullptr;
    QTableView *m_stockGrid = nullptr;
    TFScheda *m_card = nullptr;
    TFFoto *m_photo = nullptr;

    QPushButton *m_chartButton = nullptr;
    QPushButton *m_receiptButton = nullptr;
    QPushButton *m_labelsButton = nullptr;
    QPushButton *m_seasonButton = nullptr;
    QPushButton *m_catalogueButton = nullptr;
    QPushButton *m_pickButton = nullptr;
    QHBoxLayout *m_sizeRunButtons = nullptr;

    PanelWindow m_inventory;
    PanelWindow m_movements;
    PanelWindow m_receipt;
    HistoryWindow m_history;
    DialogWindow m_chart;
    DialogWindow m_labels;
};

} // namespace corvale
