#include "sales/SaleSizePanel.h"

#include "sales/SaleStock.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace corvale {

SaleSizePanel::SaleSizePanel(QWidget *parent)
    : QFrame(parent) {
    setObjectName(QStringLiteral("PannelloTaglie"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Articolo"), this));
    m_description = new QLabel(this);
    m_description->setObjectName(QStringLiteral("ArticoloTaglie"));
    m_description->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    top->addWidget(m_description, 1);
    top->addWidget(new QLabel(QStringLiteral("Tipo Taglia"), this));
    m_sizeType = new QLabel(this);
    m_sizeType->setObjectName(QStringLiteral("TipoTaglia"));
    m_sizeType->setStyleSheet(QStringLiteral("color: blue; font-weight: bold"));
    top->addWidget(m_sizeType, 1);
    m_cancel = new QPushButton(QStringLiteral("Annulla"), this);
    m_cancel->setObjectName(QStringLiteral("AnnullaTaglie"));
    top->addWidget(m_cancel);
    layout->addLayout(top);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("GrigliaTaglie"));
    m_grid->setColumnCount(1 + SaleStock::positions);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    layout->addWidget(m_grid, 1);
    hide();

    connect(m_cancel, &QPushButton::clicked, this, &SaleSizePanel::cancelClicked);
    connect(m_grid, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { currentMoved(row, column); });
    connect(m_grid, &QTableWidget::cellClicked, this, &SaleSizePanel::clicked);
}

void SaleSizePanel::show(const QString &description, const QString &sizeTypeName,
                         const SaleStock &stock) {
    m_description->setText(description);
    m_sizeType->setText(sizeTypeName);
    QStringList titles{QStringLiteral("COLORE")};
    titles << stock.titles();
    {
        const QSignalBlocker block(m_grid);
        m_grid->clearContents();
        m_grid->setHorizontalHeaderLabels(titles);
        m_grid->setRowCount(int(stock.rows().size()));
        for (int r = 0; r < stock.rows().size(); ++r) {
            const SaleStock::Row &row = stock.rows()[r];
            auto *colour = new QTableWidgetItem(row.colour);
            m_grid->setItem(r, 0, colour);
            for (int p = 1; p <= SaleStock::positions; ++p) {
                const QString &cell = row.cells[p - 1];
                auto *item = new QTableWidgetItem(cell);
                item->setTextAlignment(Qt::AlignCenter);
                item->setForeground(Qt::black);
                item->setBackground(cell.isEmpty() ? QColor(Qt::lightGray) : QColor(Qt::white));
                m_grid->setItem(r, p, item);
            }
        }
        m_grid->setCurrentCell(-1, -1);
    }
    m_picked = 0;
    QFrame::show();
    raise();
    m_grid->setFocus();
}

void SaleSizePanel::layoutFor(int sheetWidth) {
    const int cell = std::max(20, (sheetWidth - 216) / 20);
    m_grid->setColumnWidth(0, (sheetWidth - 216) % 20 + 100);
    for (int p = 1; p <= SaleStock::positions; ++p)
        m_grid->setColumnWidth(p, cell);
}

void SaleSizePanel::currentMoved(int row, int column) {
    if (row >= 0 && column > 0)
        m_picked = column;
}

void SaleSizePanel::clicked(int row, int column) {
    // The colour column names no size: a click there chooses nothing.
    if (column <= 0)
        return;
    m_picked = column;
    Q_EMIT cellChosen(row, column);
}

} // namespace corvale
