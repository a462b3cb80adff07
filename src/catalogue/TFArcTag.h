#pragma once

#include <QWidget>

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

    void setOpener(OpenerWindow *opener) { m_opener = opener; }
    TFTipoTaglia &card() { return *m_card; }
    TableGrid &grid() { return *m_grid; }

    void BNuovaClick();
    void BModificaClick();
    void BEliminaClick();
    void BUscitaClick();

    static constexpr int nameColumnWidth = 150;

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
};

} // namespace corvale
