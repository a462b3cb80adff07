#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

class QProgressBar;
class QPushButton;

namespace corvale {

class Shop;

// "ARCHIVIO": the hub of the shop's archives. Its nine buttons open the
// archive windows, "Varie" the name lists, "Saldi" the sale campaigns; "Salva", "Carica" and
// "Verifica" keep the data folder. What each button opens is handed in by whoever assembles the
// program: a button without its window says that the function is not there yet.
class TFArchivio : public QWidget {
    Q_OBJECT
public:
    // In the order of the buttons on the screen, left to right, top to bottom.
    enum class Archive {
        Articles,
        Invoices,
        Purchases,
        Suppliers,
        Sales,
        Returns,
        Customers,
        SizeTypes,
        Orders
    };
    enum class Tool { Save, Restore, Check, Lists, Campaigns };

    explicit TFArchivio(Shop &shop, QWidget *parent = nullptr);

    void setArchiveAction(Archive archive, std::function<void()> action);
    void setToolAction(Tool tool, std::function<void()> action);
    QPushButton *archiveButton(Archive archive) const;
    static QString caption(Archive archive);

    // Places and sizes the nine archive buttons for a work area W × H.
    void LayoutButtons(int W, int H);

    void BUscitaClick();

    // The gauge of "Verifica": a value from 0 to 100 shows it, -1 hides it.
    void setGauge(int value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void toolClicked(Tool tool);
    void archiveClicked(Archive archive);

    Shop &m_shop;
    QImage m_background;
    QPushButton *m_archives[9] = {};
    std::function<void()> m_archiveActions[9];
    std::function<void()> m_toolActions[5];
    QProgressBar *m_gauge = nullptr;
};

} // namespace corvale
