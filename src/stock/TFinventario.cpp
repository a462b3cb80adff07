#include "stock/TFinventario.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "printing/PrintService.h"
#include "shell/Shop.h"
#include "stock/Inventory.h"
#include "stock/InventoryPrintout.h"
#include "stock/StockColumns.h"
#include "stock/StockWindowKit.h"
#include "widgets/WaitCursor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace corvale {

TFinventario::TFinventario(Shop &shop, QWidget *parent)
    : ArticleReportWindow(shop, QStringLiteral("INVENTARIO"), QStringLiteral("Carico/Scarico"),
                          parent)
    , m_inventory(std::make_unique<Inventory>(shop)) {
    setObjectName(QStringLiteral("TFinventario"));
    addButton(QStringLiteral("Uscita"), {}, &TFinventario::BUscitaClick);
    addButton(QStringLiteral("Stampa"), {}, &TFinventario::BStampaClick);
    addButton(QStringLiteral("Esporta"), QStringLiteral("Esporta gli articoli in un file Excel"),
              &TFinventario::BEsportaClick);
    toolbar().addSpacing(20);
    toolbar().addWidget(new QLabel(QStringLiteral("Anno"), this));
    m_year = new QLabel(this);
    m_year->setObjectName(QStringLiteral("Anno"));
    m_year->setFrameShape(QFrame::Panel);
    m_year->setFrameShadow(QFrame::Sunken);
    m_year->setMinimumWidth(50);
    m_year->setAlignment(Qt::AlignCenter);
    QFont bold = m_year->font();
    bold.setBold(true);
    m_year->setFont(bold);
    toolbar().addWidget(m_year);
    toolbar().addStretch();

    m_exclude = new QCheckBox(QStringLiteral("Escludi"), this);
    m_exclude->setObjectName(QStringLiteral("Escludi"));
    connect(m_exclude, &QCheckBox::clicked, this, &TFinventario::EscludiClick);
    addFilterControl(m_exclude, 10);
    addFilterControl(new QLabel(QStringLiteral("Filtro Stagione"), this), 10);
    addFilterControl(m_season);

    using StockWindowKit::Look;
    const QList<QPair<int, Look>> looks{
        {0, Look::Code}, {5, Look::Red}, {6, Look::Green}, {7, Look::Yellow}};
    buildGrid(m_inventory->articles(), looks);
    namespace ac = articleColumns;
    namespace ic = stockColumns::inventory;
    TableGrid &g = grid();
    g.addColumn(ac::code, QStringLiteral("Codice"), {}, 95);
    g.addColumn(ac::description, QStringLiteral("Articolo"));
    g.addColumn(ac::supplier, QStringLiteral("Fornitore"), {}, 140);
    g.addColumn(ac::brand, QStringLiteral("Marchio"), {}, 99);
    g.addColumn(ic::previous, QStringLiteral("Giac. Prec."), QStringLiteral(",#"), 70);
    g.addColumn(ic::loads, QStringLiteral("Carichi"), QStringLiteral(",#"), 60);
    g.addColumn(ic::sales, QStringLiteral("Scarichi"), QStringLiteral(",#"), 60);
    g.addColumn(ic::stock, QStringLiteral("Giacenza"), QStringLiteral(",#"), 60);
    g.addColumn(ac::purchasePrice, QStringLiteral("Prezzo A."), QStringLiteral(",0.00"), 75);
    g.addColumn(ic::value, QStringLiteral("Valore"), QStringLiteral(",0.00"), 85);
    StockWindowKit::paintColumns(g, looks);

    addBandControl(new QLabel(QStringLiteral("Visualiiza"), this));
    m_view = new QComboBox(this);
    m_view->setObjectName(QStringLiteral("Visualizza"));
    m_view->addItems({QStringLiteral("Tutti"), QStringLiteral("Solo articoli in uso")});
    connect(m_view, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_busy)
            filterChanged();
    });
    addBandControl(m_view);
    m_previousTotal = addTotal(QStringLiteral("TotGiacPrec"), 4);
    m_loadsTotal = addTotal(QStringLiteral("TotCarichi"), 5);
    m_salesTotal = addTotal(QStringLiteral("TotScarichi"), 6);
    m_stockTotal = addTotal(QStringLiteral("TotGiacenza"), 7);
    m_valueTotal = addTotal(QStringLiteral("TotValore"), 9);
}

TFinventario::~TFinventario() = default;

void TFinventario::showEvent(QShowEvent *event) {
    ArticleReportWindow::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFinventario::FormActivate() {
    m_busy = true;
    m_view->setCurrentIndex(0);
    m_year->setText(QString::number(m_shop.clock().today().year()));
    {
        WaitCursor wait;
        runReportingEngineErrors(m_shop.prompter(), [&] {
            m_inventory->setExclude(m_exclude->isChecked());
            m_inventory->refresh();
        });
    }
    reopenLists();
    m_busy = false;
    filterChanged();
    showPhotoWindowIfWanted();
}

void TFinventario::filterChanged() {
    if (m_busy)
        return;
    StockFilterBoxes boxes = filterBoxes();
    boxes.inUseOnly = m_view->currentIndex() == 1;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_inventory->setFilter(StockFilter::text(boxes));
        grid().reload();
    });
    computeTotals();
}

void TFinventario::computeTotals() {
    if (m_busy)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const QStringList texts = m_inventory->totals().texts();
        m_previousTotal->setText(texts[0]);
        m_loadsTotal->setText(texts[1]);
        m_salesTotal->setText(texts[2]);
        m_stockTotal->setText(texts[3]);
        m_valueTotal->setText(texts[4]);
    });
}

void TFinventario::EscludiClick() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_inventory->setExclude(m_exclude->isChecked());
        grid().reload();
    });
    computeTotals();
}

void TFinventario::BStampaClick() {
    const std::optional<bool> movementsOnly = askMovementsOnly();
    if (!movementsOnly)
        return;
    QList<InventoryRow> rows;
    InventoryTotals totals;
    const bool read = runReportingEngineErrors(m_shop.prompter(), [&] {
        rows = m_inventory->rows();
        totals = InventoryTotals::of(rows, m_inventory->exclude());
    });
    if (!read)
        return;
    if (*movementsOnly)
        rows.removeIf([](const InventoryRow &r) { return !r.figures.hasMovements(); });
    const QString line1 = m_shop.texts().nameLine1;
    const QString line2 = m_shop.texts().nameLine2;
    const int year = m_inventory->year();
    StockWindowKit::print(m_shop, QStringLiteral("Inventario"), [=](PageCanvas &canvas) {
        InventoryPrintout::draw(canvas, line1, line2, year, rows, totals);
    });
    listFromFirstRow();
}

void TFinventario::BEsportaClick() {
    exportList([this] { return m_inventory->exportLines(); });
}

void TFinventario::BUscitaClick() {
    leave();
}

} // namespace corvale
