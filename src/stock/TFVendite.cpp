#include "stock/TFVendite.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"
#include "stock/Movements.h"
#include "stock/MovementsPrintout.h"
#include "stock/StockColumns.h"
#include "stock/StockWindowKit.h"
#include "widgets/WaitCursor.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>

namespace corvale {

TFVendite::TFVendite(Shop &shop, QWidget *parent)
    : ArticleReportWindow(shop, QStringLiteral("CARICO/SCARICO"), QStringLiteral("Carico/Scarico"),
                          parent)
    , m_movements(std::make_unique<Movements>(shop)) {
    setObjectName(QStringLiteral("TFVendite"));
    toolbar().addWidget(new QLabel(QStringLiteral("Data"), this));
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("Data"));
    m_period->addItems({QStringLiteral("< Qualsiasi >"), QStringLiteral("Anno Corrente"),
                        QStringLiteral("Mese Corrente"), QStringLiteral("Dal... Al...")});
    toolbar().addWidget(m_period);
    auto dateBox = [&](const char *name) {
        auto *box = new QDateEdit(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        box->setCalendarPopup(true);
        box->hide();
        toolbar().addWidget(box);
        connect(box, &QDateEdit::dateChanged, this, [this] {
            if (!m_busy)
                periodChanged();
        });
        return box;
    };
    m_from = dateBox("DAL");
    m_to = dateBox("AL");
    connect(m_period, &QComboBox::currentIndexChanged, this, [this] {
        const bool range = m_period->currentIndex() == int(MovementPeriod::Kind::Range);
        m_from->setVisible(range);
        m_to->setVisible(range);
        if (!m_busy)
            periodChanged();
    });
    toolbar().addStretch();
    addButton(QStringLiteral("Esporta"), QStringLiteral("Esporta gli articoli in un file Excel"),
              &TFVendite::BEsportaClick);
    addButton(QStringLiteral("Stampa"), {}, &TFVendite::BStampaClick);
    addButton(QStringLiteral("Uscita"), {}, &TFVendite::BUscitaClick);

    addFilterControl(new QLabel(QStringLiteral("Filtro Stagione"), this), 10);
    addFilterControl(m_season);

    using StockWindowKit::Look;
    buildGrid(
        m_movements->articles(),
        {{4, Look::Red}, {5, Look::Green}, {6, Look::Red}, {7, Look::Green}, {8, Look::Blue}});
    namespace ac = articleColumns;
    namespace mc = stockColumns::movements;
    TableGrid &g = grid();
    g.addColumn(ac::code, QStringLiteral("Codice"), {}, 95);
    g.addColumn(ac::description, QStringLiteral("Articolo"));
    g.addColumn(ac::supplier, QStringLiteral("Fornitore"), {}, 151);
    g.addColumn(ac::brand, QStringLiteral("Marchio"), {}, 99);
    g.addColumn(mc::loads, QStringLiteral("Carichi"), QStringLiteral(",#"), 60);
    g.addColumn(mc::unloads, QStringLiteral("Scarichi"), QStringLiteral(",#"), 60);
    g.addColumn(mc::purchases, QStringLiteral("Acquisti"), QStringLiteral(",0.00"), 80);
    g.addColumn(mc::sales, QStringLiteral("Vendite"), QStringLiteral(",0.00"), 80);
    g.addColumn(mc::margin, QStringLiteral("Ricavo"), QStringLiteral(",0.00"), 80);
    StockWindowKit::paintColumns(g, {{0, Look::Code}});

    const char *names[5] = {"TotCarichi", "TotScarichi", "TotAcquisti", "TotVendite", "TotRicavo"};
    for (int i = 0; i < 5; ++i)
        m_totals[i] = addTotal(QString::fromLatin1(names[i]), 4 + i);
}

TFVendite::~TFVendite() = default;

MovementPeriod TFVendite::period() const {
    MovementPeriod p;
    p.kind = MovementPeriod::Kind(std::max(m_period->currentIndex(), 0));
    p.from = m_from->date();
    p.to = m_to->date();
    return p;
}

void TFVendite::showEvent(QShowEvent *event) {
    ArticleReportWindow::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFVendite::FormActivate() {
    m_busy = true;
    const QDate today = m_shop.clock().today();
    m_from->setDate(today);
    m_to->setDate(today);
    m_period->setCurrentIndex(int(MovementPeriod::Kind::CurrentYear));
    m_busy = false;
    computeSums();
    reopenLists();
    filterChanged();
    showPhotoWindowIfWanted();
}

void TFVendite::computeSums() {
    if (m_busy)
        return;
    m_busy = true;
    {
        WaitCursor wait;
        runReportingEngineErrors(m_shop.prompter(), [&] { m_movements->compute(period()); });
    }
    m_busy = false;
}

void TFVendite::periodChanged() {
    computeSums();
    runReportingEngineErrors(m_shop.prompter(), [&] { grid().reload(); });
    computeTotals();
}

void TFVendite::filterChanged() {
    if (m_busy)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_movements->setFilter(StockFilter::text(filterBoxes()));
        grid().reload();
    });
    computeTotals();
}

void TFVendite::computeTotals() {
    if (m_busy)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const QStringList texts = m_movements->totals().texts();
        for (int i = 0; i < 5; ++i)
            m_totals[i]->setText(texts[i]);
    });
}

void TFVendite::BStampaClick() {
    const std::optional<bool> movementsOnly = askMovementsOnly();
    if (!movementsOnly)
        return;
    QList<MovementRow> rows;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] { rows = m_movements->rows(); }))
        return;
    const MovementTotals totals = MovementTotals::of(rows);
    if (*movementsOnly)
        rows.removeIf([](const MovementRow &r) { return !r.figures.hasMovements(); });
    const QString line1 = m_shop.texts().nameLine1;
    const QString line2 = m_shop.texts().nameLine2;
    const QString title = m_movements->period().title(m_shop.clock().today());
    StockWindowKit::print(m_shop, QStringLiteral("Carico/Scarico"), [=](PageCanvas &canvas) {
        MovementsPrintout::draw(canvas, line1, line2, title, rows, totals);
    });
    listFromFirstRow();
}

void TFVendite::BEsportaClick() {
    exportList([this] { return m_movements->exportLines(); });
}

void TFVendite::BUscitaClick() {
    leave();
}

} // namespace corvale
