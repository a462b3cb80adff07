#pragma once

#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QPushButton;

namespace corvale {

class OpenerWindow;
class Shop;
class TableGrid;
class TFTipoTaglia;

namespace db {
class Table;
}

// "ARCHIVIO TAGLIE": every size type by name with its twenty labels; size
// types are created and edited through the card and deleted here. A
// borderless window its opener places in the main window's central panel.
class TFArcTag : public QWidget {
    Q_OBJECT
public:
    explicit TFArcTag(Shop &shop, QWidget *parent = nullptr);
    ~TFArcTag() override;

    // What "Giacenze" hands to the stock-levels window: the size type to show,
    // the window's heading and the titles of its twenty size columns.
    struct StockLevels {
        qint64 sizeType = 0;
        QString heading;
        QStringList sizeTitles;
    };
    using StockLevelsWindow = std::function<void(const StockLevels &)>;

    void setOpener(OpenerWindow *opener) { m_opener = opener; }
    // "Giacenze" stays disabled until the stock-levels window is handed in.
    void setStockLevelsWindow(StockLevelsWindow window);
    TFTipoTaglia &card() { return *m_card; }
    TableGrid &grid() { return *m_grid; }

    void BNuovaClick();
    void BModificaClick();
    void BEliminaClick();
    void BUscitaClick();
    void BGiacenzeClick();

    static constexpr int nameColumnWidth = 150;
    static constexpr int minimumLabelWidth = 16;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FormActivate();
    void fitLabelColumns();
    void showCard(qint64 key);

    Shop &m_shop;
    std::unique_ptr<db::Table> m_table;
    TableGrid *m_grid;
    TFTipoTaglia *m_card;
    QPushButton *m_stock;
    OpenerWindow *m_opener = nullptr;
    StockLevelsWindow m_stockLevels;
};

} // namespace corvale
