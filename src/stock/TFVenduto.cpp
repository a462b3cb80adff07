#include "stock/TFVenduto.h"

#include "catalogue/ListEntries.h"
#include "platform/EngineError.h"
#include "printing/PrintService.h"
#include "shell/Shop.h"
#include "shell/ShopExport.h"
#include "stock/SellThroughPrintout.h"
#include "widgets/TitleBand.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace corvale {

TFVenduto::TFVenduto(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop) {
    setObjectName(QStringLiteral("TFVenduto"));
    setWindowTitle(QStringLiteral("Venduto per stagione"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    auto *band = new TitleBand(QStringLiteral("VENDUTO PER STAGIONE"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(6, 0, 6, 0);
    auto combo = [&](const QString &caption) {
        bar->addWidget(new QLabel(caption, this));
        auto *c = new QComboBox(this);
        c->setObjectName(caption);
        bar->addWidget(c);
        return c;
    };
    m_season = combo(QStringLiteral("Stagione"));
    m_year = combo(QStringLiteral("Anno"));
    m_grouping = combo(QStringLiteral("Per"));
    for (auto g : {SellThrough::Grouping::Brand, SellThrough::Grouping::Category,
                   SellThrough::Grouping::Supplier})
        m_grouping->addItem(SellThrough::groupTitle(g), int(g));
    auto button = [&](const QString &caption, void (TFVenduto::*slot)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(caption);
        connect(b, &QPushButton::clicked, this, slot);
        bar->addWidget(b);
    };
    button(QStringLiteral("Calcola"), &TFVenduto::BCalcolaClick);
    button(QStringLiteral("Stampa"), &TFVenduto::BStampaClick);
    button(QStringLiteral("Esporta"), &TFVenduto::BEsportaClick);
    bar->addStretch();
    button(QStringLiteral("Uscita"), &TFVenduto::accept);
    layout->addLayout(bar);

    m_grid = new QTableWidget(0, 8, this);
    m_grid->setObjectName(QStringLiteral("Griglia"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_grid, 1);
    resize(900, 480);
}

void TFVenduto::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    const QString season = m_season->currentText();
    m_season->clear();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_season->addItems(ListEntries::seasonNames(m_shop.database()));
    });
    m_season->setCurrentIndex(std::max(0, m_season->findText(season)));
    m_year->clear();
    m_year->addItem(QStringLiteral("Tutti"), 0);
    const int year = m_shop.clock().today().year();
    for (int y = year + 1; y >= year - 5; --y)
        m_year->addItem(QString::number(y), y);
    m_year->setCurrentIndex(m_year->findData(year));
}

SellThrough::Request TFVenduto::request() const {
    SellThrough::Request r;
    r.season = m_season->currentText();
    r.year = m_year->currentData().toInt();
    r.grouping = SellThrough::Grouping(m_grouping->currentData().toInt());
    return r;
}

QString TFVenduto::title() const {
    const SellThrough::Request r = request();
    return QStringLiteral("VENDUTO PER STAGIONE - %1 - per %2")
        .arg(r.year == 0 ? r.season : QStringLiteral("%1 %2").arg(r.season).arg(r.year),
             SellThrough::groupTitle(r.grouping));
}

void TFVenduto::BCalcolaClick() {
    if (m_season->currentText().isEmpty()) {
        m_shop.prompter().error(QStringLiteral("Scegliere una stagione."));
        return;
    }
    const SellThrough::Request r = request();
    if (!runReportingEngineErrors(m_shop.prompter(),
                                  [&] { m_rows = SellThrough::compute(m_shop.database(), r); }))
        return;
    m_grid->clear();
    m_grid->setHorizontalHeaderLabels(SellThrough::columnTitles(r.grouping));
    m_grid->setRowCount(int(m_rows.size()) + 1);
    auto put = [&](int row, const SellThrough::Row &values) {
        const QStringList texts = SellThrough::texts(values);
        for (int c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_grid->setItem(row, c, item);
        }
    };
    for (int i = 0; i < m_rows.size(); ++i)
        put(i, m_rows[i]);
    put(int(m_rows.size()), SellThrough::total(m_rows));
}

void TFVenduto::BStampaClick() {
    if (m_rows.isEmpty())
        BCalcolaClick();
    const QString name = m_shop.texts().nameLine1;
    const QString heading = title();
    const auto grouping = request().grouping;
    const QList<SellThrough::Row> rows = m_rows;
    PrintService &service = m_shop.printService();
    if (!service.print(QStringLiteral("Venduto per stagione"),
                       [=](PageCanvas &canvas) {
                           SellThroughPrintout::draw(canvas, name, heading, grouping, rows);
                       }) &&
        !service.errorText().isEmpty())
        m_shop.prompter().error(service.errorText());
}

void TFVenduto::BEsportaClick() {
    if (m_rows.isEmpty())
        BCalcolaClick();
    exportSpreadsheet(m_shop, SellThrough::exportLines(m_shop.clock().today(), request(), m_rows));
}

} // namespace corvale
