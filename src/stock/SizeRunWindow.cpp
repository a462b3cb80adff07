#include "stock/SizeRunWindow.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/FilterBar.h"
#include "catalogue/SizeGridModel.h"
#include "catalogue/SizeTitles.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"
#include "stock/StockColumns.h"
#include "stock/StockWindowKit.h"
#include "widgets/FormKit.h"
#include "widgets/LookupCombo.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace corvale {

namespace {

qint64 keyOf(const LookupCombo *combo) {
    const QVariant key = combo->currentKey();
    return key.isNull() ? 0 : key.toLongLong();
}

} // namespace

SizeRunWindow::SizeRunWindow(Shop &shop, const QString &heading, const QString &caption,
                             QWidget *parent)
    : QWidget(parent)
    , m_shop(shop)
    , m_suppliers(StockWindowKit::nameList(shop.database(), stockColumns::suppliers))
    , m_brands(StockWindowKit::nameList(shop.database(), stockColumns::brands))
    , m_categories(StockWindowKit::nameList(shop.database(), stockColumns::categories)) {
    QVBoxLayout *layout =
        formkit::panelWindow(this, caption, heading, shop.folder().file(QStringLiteral("top.BMP")));
    m_toolbar = formkit::toolbar(layout);
    m_selectionBar = new QGridLayout;
    m_selectionBar->setContentsMargins(8, 2, 8, 2);
    m_selectionBar->setHorizontalSpacing(4);
    m_selectionBar->setVerticalSpacing(2);
    // Whatever room is left goes after the last column.
    m_selectionBar->setColumnStretch(2 * selectionsPerRow, 1);
    layout->addLayout(m_selectionBar);
    auto list = [&](const char *name, const QString &title) {
        auto *c = new LookupCombo(this);
        c->setObjectName(QString::fromLatin1(name));
        c->setMaxVisibleItems(20);
        c->setMinimumWidth(140);
        addSelectionControl(title, c);
        connect(c, &QComboBox::currentIndexChanged, this, &SizeRunWindow::selectionChanged);
        return c;
    };
    m_supplier = list("FFornitore", QStringLiteral("Fornitore"));
    m_brand = list("FMarchio", QStringLiteral("Marchio"));
    m_category = list("FCategoria", QStringLiteral("Categoria"));
    m_season = new QComboBox(this);
    m_season->setObjectName(QStringLiteral("FStagione"));
    m_season->addItems(filterbar::seasons());
    addSelectionControl(QStringLiteral("Stagione"), m_season);
    connect(m_season, &QComboBox::currentIndexChanged, this, &SizeRunWindow::selectionChanged);
    m_year = new QComboBox(this);
    m_year->setObjectName(QStringLiteral("FAnno"));
    m_year->addItem(QStringLiteral(" "));
    const int current = shop.clock().today().year();
    for (int y = current + 1; y >= current - 6; --y)
        m_year->addItem(QString::number(y));
    addSelectionControl(QStringLiteral("Anno"), m_year);
    connect(m_year, &QComboBox::currentIndexChanged, this, &SizeRunWindow::selectionChanged);

    m_body = new QVBoxLayout;
    m_body->setContentsMargins(0, 0, 0, 0);
    m_model = new QStandardItemModel(this);
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("Lista"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->verticalHeader()->setDefaultSectionSize(20);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_body->addWidget(m_list, 1);
    m_stockRows = new QStandardItemModel(this);
    m_stockTitles = new SizeGridModel(this);
    m_stockTitles->setSourceModel(m_stockRows);
    m_stockGrid = new QTableView(this);
    m_stockGrid->setObjectName(QStringLiteral("Giacenze"));
    m_stockGrid->setModel(m_stockTitles);
    m_stockGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_stockGrid->verticalHeader()->hide();
    m_stockGrid->verticalHeader()->setDefaultSectionSize(20);
    m_stockGrid->horizontalHeader()->setDefaultSectionSize(40);
    m_stockGrid->setFixedHeight(110);
    m_body->addWidget(m_stockGrid);
    layout->addLayout(m_body, 1);
    m_totals = new QLabel(this);
    m_totals->setObjectName(QStringLiteral("Totali"));
    QFont bold(QStringLiteral("Arial"));
    bold.setBold(true);
    m_totals->setFont(bold);
    m_totals->setContentsMargins(8, 2, 8, 4);
    layout->addWidget(m_totals);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &SizeRunWindow::rowDoubleClicked);
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                showStockOf(current.isValid() ? articleOfRow(current.row()) : 0);
            });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { showStockOf(0); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] { showStockOf(0); });
}

SizeRunWindow::~SizeRunWindow() = default;

QPushButton *SizeRunWindow::makeButton(const QString &caption) {
    return formkit::button(caption, this, m_toolbar, {}, 64);
}

void SizeRunWindow::addSelectionControl(const QString &caption, QWidget *control) {
    auto *label = new QLabel(caption, this);
    label->setBuddy(control);
    const int row = m_selections / selectionsPerRow;
    const int column = 2 * (m_selections % selectionsPerRow);
    m_selectionBar->addWidget(label, row, column);
    m_selectionBar->addWidget(control, row, column + 1);
    ++m_selections;
}

void SizeRunWindow::setColumns(const QStringList &titles) {
    m_model->setColumnCount(int(titles.size()));
    m_model->setHorizontalHeaderLabels(titles);
}

SizeRunSelection SizeRunWindow::selection() const {
    SizeRunSelection s;
    s.supplier = keyOf(m_supplier);
    s.brand = keyOf(m_brand);
    s.category = keyOf(m_category);
    s.season = m_season->currentIndex() > 0 ? m_season->currentText() : QString();
    s.year = m_year->currentIndex() > 0 ? m_year->currentText().toInt() : 0;
    return s;
}

void SizeRunWindow::selectionChanged() {
    if (!m_busy)
        refresh();
}

void SizeRunWindow::openLists() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        for (auto [table, combo, key] :
             {std::tuple{m_suppliers.get(), m_supplier, stockColumns::CODICE},
              std::tuple{m_brands.get(), m_brand, articleColumns::key},
              std::tuple{m_categories.get(), m_category, articleColumns::key}}) {
            const QVariant chosen = combo->currentKey();
            table->close();
            table->open();
            combo->fill(*table, stockColumns::NOME, key, true);
            combo->setCurrentKey(chosen);
            table->close();
        }
    });
}

void SizeRunWindow::print(const QString &title, const PrintDocument &document) {
    StockWindowKit::print(m_shop, title, document);
}

void SizeRunWindow::hideStockGrid() {
    m_stockGrid->hide();
}

void SizeRunWindow::showStockOf(qint64 article) {
    if (article == m_stockArticle || m_stockGrid->isHidden())
        return;
    m_stockArticle = article;
    m_stockRows->clear();
    if (article <= 0)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        namespace a = articleColumns;
        db::Table articles(m_shop.database());
        articles.setTableName(a::articles);
        articles.setIndexName(a::key);
        articles.open();
        const qint64 sizeType = articles.findKey(article) ? articles.asInteger(a::sizeType) : 0;
        m_stockTitles->setSizeTitles(SizeTitles::read(m_shop.database(), sizeType));
        QStringList titles{QStringLiteral("Colore")};
        for (int p = 1; p <= a::sizeCount; ++p)
            titles << QString();
        m_stockRows->setHorizontalHeaderLabels(titles);
        db::Table stock(m_shop.database());
        stock.setTableName(a::stock);
        stock.setIndexName(a::stockArticle);
        stock.open();
        stock.setRange(article, article);
        for (stock.first(); !stock.eof(); stock.next()) {
            QList<QStandardItem *> row{new QStandardItem(stock.asString(a::colour).trimmed())};
            for (int p = 1; p <= a::sizeCount; ++p) {
                const qint64 q = stock.asInteger(a::sizeCell(p));
                auto *cell = new QStandardItem(q != 0 ? QString::number(q) : QString());
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                row << cell;
            }
            m_stockRows->appendRow(row);
        }
        m_stockGrid->setColumnWidth(0, 140);
    });
}

void SizeRunWindow::rowDoubleClicked(const QModelIndex &index) {
    const qint64 article = index.isValid() ? articleOfRow(index.row()) : 0;
    if (article > 0 && m_card)
        m_card(article);
}

void SizeRunWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (event->spontaneous())
        return;
    m_busy = true;
    openLists();
    m_busy = false;
    refresh();
}

void SizeRunWindow::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        m_busy = true;
}

void SizeRunWindow::BUscitaClick() {
    hide();
}

} // namespace corvale
