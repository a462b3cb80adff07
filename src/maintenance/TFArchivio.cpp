#include "maintenance/TFArchivio.h"

#include "maintenance/ArchiveButtonLayout.h"
#include "platform/NotYetAvailable.h"
#include "shell/Shop.h"
#include "widgets/TitleBand.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvale {

namespace {

constexpr int kTitleBandHeight = 28;
constexpr int kToolBarHeight = 51;
const QColor kNavy(0, 0, 128);
const QColor kSilver(192, 192, 192);

} // namespace

TFArchivio::TFArchivio(Shop &shop, QWidget *parent)
    : QWidget(parent)
    , m_shop(shop)
    , m_background(shop.folder().file(QStringLiteral("bkgd.BMP"))) {
    setObjectName(QStringLiteral("TFArchivio"));
    setWindowTitle(QStringLiteral("Archivio"));
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kSilver);
    setPalette(pal);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *band = new TitleBand(QStringLiteral("ARCHIVIO"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    band->setFixedHeight(kTitleBandHeight);
    layout->addWidget(band);

    auto *toolBar = new QWidget(this);
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    toolBar->setFixedHeight(kToolBarHeight);
    toolBar->setAutoFillBackground(true);
    auto *tools = new QHBoxLayout(toolBar);
    tools->setContentsMargins(8, 4, 8, 4);
    auto tool = [&](const QString &caption, const QString &hint) {
        auto *b = new QPushButton(caption, toolBar);
        b->setObjectName(caption);
        b->setToolTip(hint);
        b->setMinimumSize(80, 40);
        tools->addWidget(b);
        return b;
    };
    const std::pair<Tool, QPushButton *> toolButtons[] = {
        {Tool::Save,
         tool(QStringLiteral("Salva"), QStringLiteral("Esegue il Salvataggio dell'Archivio"))},
        {Tool::Restore, tool(QStringLiteral("Carica"),
                             QStringLiteral("Ripristina un Archivio salvato in precedenza"))},
        {Tool::Check,
         tool(QStringLiteral("Verifica"), QStringLiteral("Verifica ed ottimizza l'Archivio"))},
        {Tool::Lists, tool(QStringLiteral("Varie"), {})},
        {Tool::Campaigns, tool(QStringLiteral("Saldi"), QStringLiteral("Saldi e promozioni"))}};
    for (const auto &[which, button] : toolButtons) {
        connect(button, &QPushButton::clicked, this, [this, w = which] { toolClicked(w); });
    }
    m_gauge = new QProgressBar(toolBar);
    m_gauge->setObjectName(QStringLiteral("Gauge"));
    m_gauge->setFixedSize(193, 20);
    m_gauge->setRange(0, 100);
    QPalette gaugePalette = m_gauge->palette();
    gaugePalette.setColor(QPalette::Highlight, kNavy);
    m_gauge->setPalette(gaugePalette);
    m_gauge->hide();
    tools->addWidget(m_gauge);
    tools->addStretch();
    QPushButton *exit = tool(QStringLiteral("Uscita"), {});
    connect(exit, &QPushButton::clicked, this, &TFArchivio::BUscitaClick);
    layout->addWidget(toolBar);
    layout->addStretch();

    for (int i = 0; i < ArchiveButtonLayout::buttonCount; ++i) {
        const auto archive = Archive(i);
        auto *b = new QPushButton(caption(archive), this);
        b->setObjectName(caption(archive));
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, kNavy);
        b->setPalette(p);
        b->setCursor(Qt::PointingHandCursor);
        connect(b, &QPushButton::clicked, this, [this, archive] { archiveClicked(archive); });
        m_archives[i] = b;
    }
    resize(800, 500);
}

QString TFArchivio::caption(Archive archive) {
    switch (archive) {
    case Archive::Articles:
        return QStringLiteral("ARTICOLI");
    case Archive::Invoices:
        return QStringLiteral("FATTURE");
    case Archive::Purchases:
        return QStringLiteral("ACQUISTI");
    case Archive::Suppliers:
        return QStringLiteral("FORNITORI");
    case Archive::Sales:
        return QStringLiteral("VENDITE");
    case Archive::Returns:
        return QStringLiteral("RESI FORNITORE");
    case Archive::Customers:
        return QStringLiteral("CLIENTI");
    case Archive::SizeTypes:
        return QStringLiteral("TAGLIE");
    case Archive::Orders:
        return QStringLiteral("ORDINI FORNITORE");
    }
    return {};
}

QPushButton *TFArchivio::archiveButton(Archive archive) const {
    return m_archives[int(archive)];
}

void TFArchivio::setArchiveAction(Archive archive, std::function<void()> action) {
    m_archiveActions[int(archive)] = std::move(action);
}

void TFArchivio::setToolAction(Tool tool, std::function<void()> action) {
    m_toolActions[int(tool)] = std::move(action);
}

void TFArchivio::archiveClicked(Archive archive) {
    if (const auto &action = m_archiveActions[int(archive)])
        action();
    else
        reportNotYetAvailable(m_shop.prompter());
}

void TFArchivio::toolClicked(Tool tool) {
    if (const auto &action = m_toolActions[int(tool)])
        action();
    else
        reportNotYetAvailable(m_shop.prompter());
}

void TFArchivio::LayoutButtons(int W, int H) {
    const QList<QRect> places = ArchiveButtonLayout::place(W, H);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPointSize(ArchiveButtonLayout::fontPoints(W));
    for (int i = 0; i < ArchiveButtonLayout::buttonCount; ++i) {
        m_archives[i]->setGeometry(places[i]);
        m_archives[i]->setFont(font);
        m_archives[i]->raise();
    }
}

void TFArchivio::BUscitaClick() {
    hide();
}

void TFArchivio::setGauge(int value) {
    m_gauge->setVisible(value >= 0);
    if (value >= 0)
        m_gauge->setValue(value);
    // The check runs without returning to the event loop: paint the step now.
    m_gauge->repaint();
}

void TFArchivio::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    // The window always fills the work area, so its own size is the area's.
    LayoutButtons(width(), height());
}

void TFArchivio::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QRect below(0, kTitleBandHeight + kToolBarHeight, width(),
                      height() - kTitleBandHeight - kToolBarHeight);
    if (m_background.isNull())
        p.fillRect(rect(), palette().window());
    else
        p.drawImage(below, m_background);
}

} // namespace corvale
