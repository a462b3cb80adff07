#include "statistics/TFGrafico.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"
#include "statistics/ArticleChart.h"
#include "statistics/TrendBox.h"
#include "stock/StockWindowKit.h"
#include "widgets/TitleBand.h"
#include "widgets/WaitCursor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

namespace ac = articleColumns;

TFGrafico::TFGrafico(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_articles(std::make_unique<db::Table>(shop.database())) {
    setObjectName(QStringLiteral("TFGrafico"));
    setWindowTitle(QStringLiteral("Grafico di Vendita"));
    setModal(true);
    resize(800, 600);
    m_articles->setTableName(ac::articles);
    m_articles->setIndexName(ac::description);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    auto *band = new TitleBand(QStringLiteral("GRAFICO DI VENDITA"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(8, 4, 8, 0);
    auto *side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("Descrizione"), this));
    m_list = new TableGrid(*m_articles, this);
    m_list->setObjectName(QStringLiteral("Descrizione"));
    m_list->addColumn(ac::description, QStringLiteral("Descrizione"), {}, 220);
    side->addWidget(m_list, 1);
    side->addWidget(new QLabel(QStringLiteral("Codice"), this));
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Codice"));
    m_code->setReadOnly(true);
    side->addWidget(m_code);

    m_trend = new TrendBox(TrendBox::IdleMonth::Greyed, this);
    side->addWidget(m_trend);
    body->addLayout(side);

    auto *chartSide = new QVBoxLayout;
    m_description = new QLabel(this);
    m_description->setObjectName(QStringLiteral("Articolo"));
    m_description->setFixedWidth(ArticleChart::width(12) - 80);
    m_description->setAlignment(Qt::AlignCenter);
    chartSide->addWidget(m_description, 0, Qt::AlignHCenter);
    m_area = new QLabel(this);
    m_area->setObjectName(QStringLiteral("Grafico"));
    m_area->setFixedSize(ArticleChart::width(31), ArticleChart::height);
    m_area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    chartSide->addWidget(m_area);
    auto *exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("Uscita"));
    chartSide->addWidget(exit, 0, Qt::AlignRight);
    body->addLayout(chartSide);
    layout->addLayout(body, 1);

    connect(m_list, &TableGrid::currentRecordChanged, this, &TFGrafico::Redraw);
    connect(m_trend, &TrendBox::changed, this, &TFGrafico::Redraw);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

TFGrafico::~TFGrafico() = default;

ChartPeriod TFGrafico::period() const {
    ChartPeriod p;
    p.mode = m_trend->mode();
    p.year = m_year;
    p.month = m_trend->month();
    return p;
}

void TFGrafico::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFGrafico::done(int result) {
    m_busy = true;
    m_articles->close();
    m_list->reload();
    QDialog::done(result);
}

void TFGrafico::FormActivate() {
    m_busy = true;
    const QDate today = m_shop.clock().today();
    m_year = today.year();
    m_trend->reset(today.month());
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (!m_articles->isOpen())
            m_articles->open();
        m_articles->first();
    });
    m_list->reload();
    m_busy = false;
    Redraw();
}

void TFGrafico::Redraw() {
    if (m_busy)
        return;
    WaitCursor wait;
    m_list->setEnabled(false);
    const ChartPeriod p = period();
    const bool chosen = m_articles->isOpen() && m_articles->recordNumber() != 0;
    m_code->setText(chosen ? m_articles->asString(ac::code) : QString());
    m_description->setText(chosen ? m_articles->asString(ac::description) : QString());
    const qint64 article = chosen ? m_articles->asInteger(ac::key) : 0;
    m_sales = {};
    m_sales.values.assign(size_t(p.columns()), 0);
    bool read = true;
    if (article > 0) {
        read = runReportingEngineErrors(m_shop.prompter(), [&] {
            m_sales = ArticleValues::read(m_shop.database(), article, p);
        });
    }
    if (read) {
        m_chart = ArticleChart::render(m_sales, p);
        m_area->setPixmap(QPixmap::fromImage(m_chart));
    } else {
        // Figures of another article must not stand for this one.
        m_chart = {};
        m_area->clear();
    }
    m_list->setEnabled(true);
    m_list->setFocus();
}

} // namespace corvale
