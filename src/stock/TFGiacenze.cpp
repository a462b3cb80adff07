#include "stock/TFGiacenze.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/CapitalsValidator.h"
#include "catalogue/FilterBar.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"
#include "stock/StockColumns.h"
#include "stock/StockLevels.h"
#include "stock/StockLevelsPrintout.h"
#include "stock/StockWindowKit.h"
#include "widgets/CaptionBox.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"
#include "widgets/LookupCombo.h"
#include "widgets/WaitCursor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

namespace ac = articleColumns;
namespace sc = stockColumns;

namespace {

constexpr int kCodeWidth = 80;
constexpr int kDescriptionWidth = 220;

QString keyText(const LookupCombo *combo) {
    const QVariant key = combo->currentKey();
    return key.isNull() ? QString() : QString::number(key.toLongLong());
}

} // namespace

TFGiacenze::TFGiacenze(Shop &shop, QWidget *parent)
    : QWidget(parent)
    , m_shop(shop)
    , m_levels(std::make_unique<StockLevels>(shop))
    , m_brands(StockWindowKit::nameList(shop.database(), sc::brands))
    , m_categories(StockWindowKit::nameList(shop.database(), sc::categories)) {
    setObjectName(QStringLiteral("TFGiacenze"));
    for (int i = 0; i < StockLevels::sizeCount; ++i)
        m_titles << QStringLiteral(" ");

    QVBoxLayout *layout = formkit::panelWindow(this, QStringLiteral("Giacenze Magazzino"),
                                               QStringLiteral("GIACENZE MAGAZZINO"),
                                               shop.folder().file(QStringLiteral("top.BMP")));

    auto *toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(8, 2, 8, 2);
    auto button = [&](const QString &caption, void (TFGiacenze::*handler)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(caption);
        toolbar->addWidget(b);
        connect(b, &QPushButton::clicked, this, handler);
    };
    button(QStringLiteral("Stampa"), &TFGiacenze::BStampaClick);
    toolbar->addStretch();
    button(QStringLiteral("Uscita"), &TFGiacenze::BUscitaClick);
    layout->addLayout(toolbar);

    auto *filters = new QHBoxLayout;
    filters->setContentsMargins(8, 0, 8, 0);
    auto list = [&](const QString &caption, const char *name, const char *clearName,
                    QPushButton *&clear) {
        filters->addWidget(new QLabel(caption, this));
        auto *c = new LookupCombo(this);
        c->setObjectName(QString::fromLatin1(name));
        c->setMinimumWidth(150);
        filters->addWidget(c);
        clear = new QPushButton(QStringLiteral("X"), this);
        clear->setObjectName(QString::fromLatin1(clearName));
        clear->setToolTip(QStringLiteral("Annulla il filtro"));
        clear->setFixedWidth(24);
        clear->setEnabled(false);
        filters->addWidget(clear);
        connect(c, &QComboBox::currentIndexChanged, this, [this, c, clear] {
            clear->setEnabled(c->currentIndex() >= 0);
            filterChanged();
        });
        connect(clear, &QPushButton::clicked, this, [c] { c->setCurrentIndex(-1); });
        return c;
    };
    m_brand = list(QStringLiteral("Filtro Marchio"), "FMarchio", "CancMarchio", m_clearBrand);
    m_category =
        list(QStringLiteral("Filtro Categoria"), "FCategoria", "CancCategoria", m_clearCategory);
    filters->addWidget(new QLabel(QStringLiteral("Filtro Stagione"), this));
    m_season = new QComboBox(this);
    m_season->setObjectName(QStringLiteral("FStagione"));
    m_season->addItems(filterbar::seasons());
    m_season->setItemText(0, QString());
    connect(m_season, &QComboBox::currentIndexChanged, this, &TFGiacenze::filterChanged);
    filters->addWidget(m_season);
    filters->addStretch();
    layout->addLayout(filters);

    m_panel = new CaptionBox(QString(), this);
    m_panel->setObjectName(QStringLiteral("Taglia"));
    m_panel->setBackground(shop.folder().file(QStringLiteral("bkgd.BMP")));
    auto *search = new QHBoxLayout(m_panel);
    auto edit = [&](const char *name, int maxLength, int width) {
        auto *e = new QLineEdit(m_panel);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(maxLength);
        e->setFixedWidth(width);
        e->setValidator(new CapitalsValidator(e));
        connect(e, &QLineEdit::textChanged, this, &TFGiacenze::filterChanged);
        search->addWidget(e);
        return e;
    };
    m_code = edit("FCodice", 15, kCodeWidth);
    m_description = edit("FArticolo", 30, kDescriptionWidth);
    search->addStretch();
    layout->addWidget(m_panel);

    m_grid = new TableGrid(m_levels->levels(), this);
    m_grid->setObjectName(QStringLiteral("Lista"));
    addColumns();
    QList<QPair<int, StockWindowKit::Look>> looks;
    for (int i = 1; i <= StockLevels::sizeCount; ++i)
        looks << qMakePair(i + 1, StockWindowKit::Look::ZeroAsButton);
    StockWindowKit::paintColumns(*m_grid, looks);
    layout->addWidget(m_grid, 1);

    m_totalsRow = new QWidget(this);
    m_totalsRow->setObjectName(QStringLiteral("Totali"));
    m_totalsRow->setFixedHeight(24);
    m_totalsTitle = new QLabel(QStringLiteral("TOTALI"), m_totalsRow);
    QFont bold = m_totalsTitle->font();
    bold.setBold(true);
    m_totalsTitle->setFont(bold);
    for (int i = 1; i <= StockLevels::sizeCount; ++i) {
        auto *cell = new QLabel(m_totalsRow);
        cell->setObjectName(QStringLiteral("Tot%1").arg(i));
        cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        cell->setFrameShape(QFrame::Panel);
        cell->setFrameShadow(QFrame::Sunken);
        m_totals << cell;
    }
    layout->addWidget(m_totalsRow);
    FocusHighlighter::install(this);
}

TFGiacenze::~TFGiacenze() = default;

void TFGiacenze::setSizeType(qint64 key, const QString &caption, const QStringList &titles) {
    SizeTypeKey = key;
    m_caption = caption;
    m_titles = titles;
    while (m_titles.size() < StockLevels::sizeCount)
        m_titles << QStringLiteral(" ");
    m_panel->setTitle(caption);
    addColumns();
    fitColumns();
}

void TFGiacenze::addColumns() {
    m_grid->model().clearColumns();
    m_grid->addColumn(ac::code, QStringLiteral("Barcode"), {}, kCodeWidth);
    m_grid->addColumn(sc::ARTICOLO, QStringLiteral("Articolo"), {}, kDescriptionWidth);
    for (int i = 0; i < StockLevels::sizeCount; ++i)
        m_grid->addColumn(ac::sizeCell(i + 1), m_titles[i], QStringLiteral("#"));
}

void TFGiacenze::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFGiacenze::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    fitColumns();
}

void TFGiacenze::fitColumns() {
    const int cell =
        std::max((m_grid->width() - m_grid->columnWidth(0) - m_grid->columnWidth(1) - 22) /
                     StockLevels::sizeCount,
                 12);
    for (int i = 0; i < StockLevels::sizeCount; ++i)
        m_grid->setColumnWidth(i + 2, cell);
    const int left = m_grid->x() + m_grid->frameWidth() + m_grid->verticalHeader()->width();
    m_totalsTitle->setGeometry(left, 0, m_grid->columnWidth(0) + m_grid->columnWidth(1), 24);
    for (int i = 0; i < StockLevels::sizeCount; ++i)
        m_totals[i]->setGeometry(left + m_grid->columnViewportPosition(i + 2), 0, cell, 24);
}

void TFGiacenze::FormActivate() {
    m_busy = true;
    fitColumns();
    {
        WaitCursor wait;
        runReportingEngineErrors(m_shop.prompter(), [&] {
            m_levels->rebuild(SizeTypeKey);
            m_brands->close();
            m_brands->open();
            m_brand->fill(*m_brands, sc::NOME, ac::key);
            m_categories->close();
            m_categories->open();
            m_category->fill(*m_categories, sc::NOME, ac::key);
        });
    }
    m_clearBrand->setEnabled(m_brand->currentIndex() >= 0);
    m_clearCategory->setEnabled(m_category->currentIndex() >= 0);
    m_busy = false;
    filterChanged();
}

void TFGiacenze::filterChanged() {
    if (m_busy)
        return;
    StockLevelsBoxes boxes;
    boxes.code = m_code->text();
    boxes.description = m_description->text();
    boxes.brand = keyText(m_brand);
    boxes.category = keyText(m_category);
    boxes.season = std::max(m_season->currentIndex(), 0);
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_levels->setFilter(StockLevels::filterText(boxes));
        m_grid->reload();
    });
    computeTotals();
}

void TFGiacenze::computeTotals() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const StockLevels::Cells totals = StockLevels::totals(m_levels->rows());
        for (int i = 0; i < StockLevels::sizeCount; ++i)
            m_totals[i]->setText(totals[i] == 0 ? QString() : QString::number(totals[i]));
    });
}

void TFGiacenze::BStampaClick() {
    if (m_grid->isEmpty())
        return;
    QList<StockLevels::Row> rows;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] { rows = m_levels->rows(); }))
        return;
    StockLevelsPrintout::Heading heading{m_shop.texts().nameLine1, m_shop.texts().nameLine2,
                                         m_shop.clock().today(), m_caption, m_titles};
    const StockLevels::Cells totals = StockLevels::totals(rows);
    WaitCursor wait;
    StockWindowKit::print(m_shop, QStringLiteral("Giacenze"), [=](PageCanvas &canvas) {
        StockLevelsPrintout::draw(canvas, heading, rows, totals);
    });
}

void TFGiacenze::BUscitaClick() {
    m_brands->close();
    m_categories->close();
    m_levels->close();
    m_grid->reload();
    hide();
}

} // namespace corvale
