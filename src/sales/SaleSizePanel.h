#pragma once

#include <QFrame>

class QLabel;
class QPushButton;
class QTableWidget;

namespace corvale {

class SaleStock;

// The counter sale's size panel: the article, its size type and its stock,
// one row per colour and one column per size position. A click on a size
// cell asks for that colour and size; "Annulla" gives up the article.
class SaleSizePanel : public QFrame {
    Q_OBJECT
public:
    explicit SaleSizePanel(QWidget *parent = nullptr);

    void show(const QString &description, const QString &sizeTypeName, const SaleStock &stock);
    // Sizes the columns for a sheet grid `sheetWidth` wide.
    void layoutFor(int sheetWidth);

    QTableWidget *grid() const { return m_grid; }
    // The size position of the cell that last had the focus outside the
    // colour column; 0 when none.
    int pickedSize() const { return m_picked; }

Q_SIGNALS:
    void cellChosen(int row, int position);
    void cancelClicked();

private:
    using QFrame::show;
    void currentMoved(int row, int column);
    void clicked(int row, int column);

    QLabel *m_description;
    QLabel *m_sizeType;
    QPushButton *m_cancel;
    QTableWidget *m_grid;
    int m_picked = 0;
};

} // namespace corvale
