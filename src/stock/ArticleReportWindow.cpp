#include "stock/ArticleReportWindow.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/FilterBar.h"
#include "catalogue/TFFoto.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"
#include "shell/ShopExport.h"
#include "stock/StockColumns.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"
#include "widgets/LookupCombo.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

namespace {

constexpr int kBarHeight = filterbar::height;
// What the list's frame, header and scroll bar take from its width.
constexpr int kListMargin = 28;

QString keyText(const LookupCombo *combo) {
    const QVariant key = combo->currentKey();
    return key.isNull() ? QString() : QString::number(key.toLongLong());
}

} // namespace

ArticleReportWindow::ArticleReportWindow(Shop &shop, const QString &heading, const QString &caption,
                                         QWidget *parent)
    : QWidget(parent)
    , m_shop(shop)
    , m_suppliers(StockWindowKit::nameList(shop.database(), stockColumns::suppliers))
    , m_brands(StockWindowKit::nameList(shop.database(), stockColumns::brands)) {
    m_layout =
        formkit::panelWindow(this, caption, heading, shop.folder().file(QStringLiteral("top.BMP")));
    m_toolbar = formkit::toolbar(m_layout);

    m_filterBar = filterbar::create(this, m_layout);
    m_code = filterbar::textBox(m_filterBar, "FCodice", 15);
    m_description = filterbar::textBox(m_filterBar, "FArticolo", 30);
    for (QLineEdit *e : {m_code, m_description})
        connect(e, &QLineEdit::textChanged, this, &ArticleReportWindow::boxChanged);
    m_supplier = filterbar::listBox(m_filterBar, "FFornitore");
    m_brand = filterbar::listBox(m_filterBar, "FMarchio");
    for (LookupCombo *c : {m_supplier, m_brand}) {
        c->setMaxVisibleItems(20);
        connect(c, &QComboBox::currentIndexChanged, this, &ArticleReportWindow::boxChanged);
    }
    m_season = new QComboBox(m_filterBar);
    m_season->setObjectName(QStringLiteral("FStagione"));
    m_season->addItems(filterbar::seasons());
    connect(m_season, &QComboBox::currentIndexChanged, this, &ArticleReportWindow::boxChanged);

    m_photo = new TFFoto(this);
}

ArticleReportWindow::~ArticleReportWindow() = default;

QPushButton *ArticleReportWindow::makeButton(const QString &caption, const QString &hint) {
    return formkit::button(caption, this, m_toolbar, hint, 64);
}

void ArticleReportWindow::buildGrid(db::Table &articles,
                                    const QList<QPair<int, StockWindowKit::Look>> &titleLooks) {
    m_articles = &articles;
    m_grid = new TableGrid(articles, this);
    if (!titleLooks.isEmpty())
        StockWindowKit::paintTitles(*m_grid, titleLooks);
    m_grid->setObjectName(QStringLiteral("Lista"));
    m_layout->addWidget(m_grid, 1);
    m_band = new QWidget(this);
    m_band->setObjectName(QStringLiteral("Totali"));
    m_band->setFixedHeight(kBarHeight);
    m_layout->addWidget(m_band);
    connect(m_grid, &TableGrid::currentRecordChanged, this, &ArticleReportWindow::followRow);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { fitColumns(); });
    FocusHighlighter::install(this);
}

void ArticleReportWindow::addFilterControl(QWidget *control, int gapBefore) {
    control->setParent(m_filterBar);
    m_filterControls << control;
    m_filterGaps << gapBefore;
}

QLabel *ArticleReportWindow::addTotal(const QString &name, int column) {
    auto *label = new QLabel(QStringLiteral("0"), m_band);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    label->setFont(font);
    m_totals << qMakePair(label, column);
    return label;
}

void ArticleReportWindow::addBandControl(QWidget *control) {
    control->setParent(m_band);
    m_bandControls << control;
}

void ArticleReportWindow::fitColumns() {
    if (!m_grid)
        return;
    static bool fitting = false; // resizing a column calls back here
    if (fitting)
        return;
    fitting = true;
    int others = 0;
    for (int c = 0; c < m_grid->model().columnCount(); ++c)
        if (c != 1)
            others += m_grid->columnWidth(c);
    m_grid->setColumnWidth(1, std::max(m_grid->width() - kListMargin - others, 60));
    fitting = false;

    // The boxes stand over their columns.
    const int left = m_grid->x() + m_grid->frameWidth() + m_grid->verticalHeader()->width();
    auto columnX = [&](int c) { return left + m_grid->columnViewportPosition(c); };
    const int h = kBarHeight - 2;
    m_code->setGeometry(columnX(0), 1, m_grid->columnWidth(0), h);
    m_description->setGeometry(columnX(1), 1, m_grid->columnWidth(1), h);
    m_supplier->setGeometry(columnX(2) + 1, 1, m_grid->columnWidth(2) + 1, h);
    m_brand->setGeometry(m_supplier->geometry().right() + 1, 1, m_grid->columnWidth(3) + 1, h);
    int x = m_brand->geometry().right() + 1;
    for (int i = 0; i < m_filterControls.size(); ++i) {
        QWidget *w = m_filterControls[i];
        x += m_filterGaps[i];
        const int width = std::max(w->sizeHint().width(), 40);
        w->setGeometry(x, 1, width, h);
        x += width + 4;
    }
    for (const auto &[label, column] : m_totals)
        label->setGeometry(columnX(column), 1, m_grid->columnWidth(column), h);
    x = 8;
    for (QWidget *w : m_bandControls) {
        w->setGeometry(x, 1, std::max(w->sizeHint().width(), 40), h);
        x += w->width() + 4;
    }
}

StockFilterBoxes ArticleReportWindow::filterBoxes() const {
    StockFilterBoxes b;
    b.code = m_code->text();
    b.description = m_description->text();
    b.brand = keyText(m_brand);
    b.supplier = keyText(m_supplier);
    b.season = m_season->currentIndex() > 0 ? m_season->currentText() : QString();
    return b;
}

void ArticleReportWindow::boxChanged() {
    if (!m_busy)
        filterChanged();
}

void ArticleReportWindow::reopenLists() {
    const bool wasBusy = m_busy;
    m_busy = true;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_suppliers->close();
        m_suppliers->open();
        m_supplier->fill(*m_suppliers, stockColumns::NOME, stockColumns::CODICE);
        m_brands->close();
        m_brands->open();
        m_brand->fill(*m_brands, stockColumns::NOME, articleColumns::key);
    });
    m_busy = wasBusy;
}

void ArticleReportWindow::closeLists() {
    m_suppliers->close();
    m_brands->close();
}

void ArticleReportWindow::showPhotoWindowIfWanted() {
    if (!m_shop.preferences().showPhotos)
        return;
    m_photo->move(
        mapToGlobal(QPoint(width() - m_photo->width() - 50, height() - m_photo->height() - 200)));
    m_photo->show();
    followRow();
}

void ArticleReportWindow::hidePhotoWindow() {
    m_photo->hide();
}

std::optional<bool> ArticleReportWindow::askMovementsOnly() {
    const Prompter::Answer answer =
        m_shop.prompter().confirmWithCancel(QStringLiteral("Solo articoli con movimenti?"));
    if (answer == Prompter::Answer::Cancel)
        return std::nullopt;
    return answer == Prompter::Answer::Yes;
}

void ArticleReportWindow::listFromFirstRow() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_articles->first();
        m_grid->reload();
    });
}

void ArticleReportWindow::exportList(const std::function<QStringList()> &read) {
    QStringList lines;
    if (runReportingEngineErrors(m_shop.prompter(), [&] { lines = read(); }))
        exportSpreadsheet(m_shop, lines);
}

void ArticleReportWindow::leave() {
    m_articles->close();
    closeLists();
    m_grid->reload();
    hide();
}

void ArticleReportWindow::followRow() {
    if (!m_photo->isVisible() || !m_articles)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const bool none = !m_articles->isOpen() || m_grid->isEmpty();
        m_photo->showPhoto(none ? QByteArray() : m_articles->asBlob(articleColumns::photo));
    });
}

void ArticleReportWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    fitColumns();
}

void ArticleReportWindow::hideEvent(QHideEvent *event) {
    QWidget::hideEvent(event);
    if (event->spontaneous())
        return;
    hidePhotoWindow();
    if (m_opener)
        m_opener->receiveNotification(1);
}

void ArticleReportWindow::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    fitColumns();
}

} // namespace corvale
