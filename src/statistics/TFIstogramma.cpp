#include "statistics/TFIstogramma.h"

#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"
#include "shell/Shop.h"
#include "statistics/TakingsChart.h"
#include "statistics/TakingsPrintout.h"
#include "statistics/TrendBox.h"
#include "stock/StockWindowKit.h"
#include "widgets/TitleBand.h"
#include "widgets/WaitCursor.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

TFIstogramma::TFIstogramma(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop) {
    setObjectName(QStringLiteral("TFIstogramma"));
    setWindowTitle(QStringLiteral("Grafico di Vendita"));
    setModal(true);
    setFixedSize(800, 600);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    auto *band = new TitleBand(QStringLiteral("GRAFICO VENDITE AL BANCO"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(8, 4, 8, 0);
    m_area = new QLabel(this);
    m_area->setObjectName(QStringLiteral("Grafico"));
    m_area->setFixedSize(609, TakingsChart::height);
    m_area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    body->addWidget(m_area, 0, Qt::AlignTop);

    auto *side = new QVBoxLayout;
    side->addWidget(new QLabel(QStringLiteral("Totale"), this));
    m_total = new QLineEdit(this);
    m_total->setObjectName(QStringLiteral("Totale"));
    m_total->setReadOnly(true);
    m_total->setAlignment(Qt::AlignRight);
    side->addWidget(m_total);

    m_trend = new TrendBox(TrendBox::IdleMonth::Hidden, this);
    side->addWidget(m_trend);

    auto *yearBox = new QGroupBox(QStringLiteral("Anno "), this);
    yearBox->setObjectName(QStringLiteral("AnnoBox"));
    auto *yearLayout = new QVBoxLayout(yearBox);
    m_year = new QComboBox(yearBox);
    m_year->setObjectName(QStringLiteral("Anno"));
    const int current = shop.clock().today().year();
    for (int year = current; year >= current - 2; --year)
        m_year->addItem(QString::number(year), year);
    yearLayout->addWidget(m_year);
    side->addWidget(yearBox);
    side->addStretch();

    auto *print = new QPushButton(QStringLiteral("Stampa"), this);
    print->setObjectName(QStringLiteral("Stampa"));
    side->addWidget(print);
    auto *exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("Uscita"));
    side->addWidget(exit);
    body->addLayout(side);
    layout->addLayout(body, 1);

    connect(m_trend, &TrendBox::changed, this, &TFIstogramma::Redraw);
    connect(m_year, &QComboBox::currentIndexChanged, this, &TFIstogramma::Redraw);
    connect(print, &QPushButton::clicked, this, &TFIstogramma::BStampaClick);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
}

ChartPeriod TFIstogramma::period() const {
    ChartPeriod p;
    p.mode = m_trend->mode();
    p.year = m_year->currentData().toInt();
    p.month = m_trend->month();
    return p;
}

void TFIstogramma::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFIstogramma::done(int result) {
    m_busy = true;
    QDialog::done(result);
}

void TFIstogramma::FormActivate() {
    m_busy = true;
    m_trend->reset(m_shop.clock().today().month());
    m_year->setCurrentIndex(0);
    m_busy = false;
    Redraw();
}

void TFIstogramma::Redraw() {
    if (m_busy)
        return;
    WaitCursor wait;
    const ChartPeriod p = period();
    const bool read = runReportingEngineErrors(
        m_shop.prompter(), [&] { m_takings = TakingsValues::read(m_shop.database(), p); });
    if (!read) {
        // Figures of another period must not stand for this one.
        m_takings = {};
        m_chart = {};
        m_area->clear();
        m_total->clear();
        return;
    }
    m_chart = TakingsChart::render(m_takings, p, m_subtitle);
    m_area->setPixmap(QPixmap::fromImage(m_chart));
    m_total->setText(Formats::format(u"%10.2n", m_takings.total));
}

void TFIstogramma::BStampaClick() {
    if (m_chart.isNull())
        return;
    const QImage chart = m_chart;
    const double total = m_takings.total;
    const int year = period().year;
    StockWindowKit::print(m_shop, QStringLiteral("Grafico di Vendita"),
                          [chart, total, year](PageCanvas &canvas) {
                              TakingsPrintout::print(canvas, chart, total, year);
                          });
}

} // namespace corvale
