#include "catalogue/TFArcTag.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/TFTipoTaglia.h"
#include "catalogue/TableGrid.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"
#include "widgets/OpenerWindow.h"
#include "widgets/TitleBand.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

TFArcTag::TFArcTag(Shop &shop, QWidget *parent)
    : QWidget(parent)
    , m_shop(shop)
    , m_table(std::make_unique<db::Table>(shop.database())) {
    setObjectName(QStringLiteral("TFArcTag"));
    setWindowTitle(QStringLiteral("Archivio Taglie"));
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *band = new TitleBand(QStringLiteral("ARCHIVIO TAGLIE"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(8, 4, 8, 4);
    auto button = [&](const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(caption);
        b->setMinimumWidth(90);
        toolbar->addWidget(b);
        return b;
    };
    QPushButton *bNew = button(QStringLiteral("Nuova"));
    QPushButton *bEdit = button(QStringLiteral("Modifica"));
    QPushButton *bDelete = button(QStringLiteral("Elimina"));
    m_stock = button(QStringLiteral("Giacenze"));
    // The stock levels per size type are a window of their own, not built yet.
    m_stock->setEnabled(false);
    m_stock->setToolTip(QStringLiteral("Le giacenze per taglia non sono ancora disponibili"));
    toolbar->addStretch();
    QPushButton *bExit = button(QStringLiteral("Uscita"));
    layout->addLayout(toolbar);

    m_table->setTableName(QStringLiteral("TAGLIE.DBF"));
    m_table->setIndexName(articleColumns::description);
    m_grid = new TableGrid(*m_table, this);
    m_grid->setObjectName(QStringLiteral("Griglia"));
    m_grid->addColumn(articleColumns::description, QStringLiteral("Nome Taglia"), {},
                      nameColumnWidth);
    for (int n = 1; n <= 20; ++n)
        m_grid->addColumn(QStringLiteral("TG%1").arg(n), QStringLiteral("TG%1").arg(n));
    // The twenty size columns share what the name leaves of the grid's width.
    // The header's own minimum comes from the style's font and is wider on
    // Windows than the share of an 800-pixel window: it would push the last
    // sizes out of sight.
    m_grid->horizontalHeader()->setMinimumSectionSize(minimumLabelWidth);
    layout->addWidget(m_grid, 1);

    m_card = new TFTipoTaglia(shop, this);

    connect(bNew, &QPushButton::clicked, this, &TFArcTag::BNuovaClick);
    connect(bEdit, &QPushButton::clicked, this, &TFArcTag::BModificaClick);
    connect(bDelete, &QPushButton::clicked, this, &TFArcTag::BEliminaClick);
    connect(bExit, &QPushButton::clicked, this, &TFArcTag::BUscitaClick);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &TFArcTag::BModificaClick);
    connect(m_stock, &QPushButton::clicked, this, &TFArcTag::BGiacenzeClick);
}

void TFArcTag::setStockLevelsWindow(StockLevelsWindow window) {
    m_stockLevels = std::move(window);
    m_stock->setEnabled(bool(m_stockLevels));
    m_stock->setToolTip(m_stockLevels
                            ? QString()
                            : QStringLiteral("Le giacenze per taglia non sono ancora disponibili"));
}

void TFArcTag::BGiacenzeClick() {
    if (!m_stockLevels || !m_table->isOpen() || m_grid->isEmpty())
        return;
    StockLevels request;
    request.sizeType = m_table->asInteger(articleColumns::key);
    request.heading = QStringLiteral("TAGLIA ") + m_table->asString(articleColumns::description);
    for (int n = 1; n <= 20; ++n) {
        const QString label = m_table->asString(QStringLiteral("TG%1").arg(n));
        request.sizeTitles << (label.isEmpty() ? QStringLiteral(" ") : label);
    }
    m_stockLevels(request);
}

TFArcTag::~TFArcTag() = default;

void TFArcTag::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFArcTag::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    fitLabelColumns();
}

void TFArcTag::fitLabelColumns() {
    const int width = (m_grid->width() - m_grid->columnWidth(0) - 24) / 20;
    for (int n = 1; n <= 20; ++n)
        m_grid->setColumnWidth(n, std::max(width, minimumLabelWidth));
}

void TFArcTag::FormActivate() {
    fitLabelColumns();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_table->close();
        m_table->open();
        m_table->first();
        m_grid->reload();
    });
}

void TFArcTag::showCard(qint64 key) {
    m_card->SizeTypeKey = key;
    m_card->exec();
    if (!m_table->isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (m_card->SizeTypeKey > 0) {
            const qint64 saved = m_card->SizeTypeKey;
            m_grid->reloadSelecting(
                [saved](db::Table &t) { return t.asInteger(articleColumns::key) == saved; });
        } else {
            m_table->refresh();
            m_grid->reload();
        }
    });
}

void TFArcTag::BNuovaClick() {
    showCard(0);
}

void TFArcTag::BModificaClick() {
    if (!m_table->isOpen() || m_grid->isEmpty())
        return;
    showCard(m_table->asInteger(articleColumns::key));
}

void TFArcTag::BEliminaClick() {
    if (!m_table->isOpen() || m_grid->isEmpty())
        return;
    if (!m_shop.prompter().confirm(QStringLiteral("Eliminare la Taglia selezionata?")))
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_table->remove();
        m_grid->reload();
    });
}

void TFArcTag::BUscitaClick() {
    m_table->close();
    hide();
    if (m_opener)
        m_opener->receiveNotification(1);
}

} // namespace corvale
