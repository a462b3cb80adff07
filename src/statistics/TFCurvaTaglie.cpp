#include "statistics/TFCurvaTaglie.h"

#include "catalogue/ArticleColumns.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "shell/Shop.h"
#include "shell/ShopExport.h"
#include "statistics/SizeCurveChart.h"
#include "stock/StockWindowKit.h"
#include "widgets/LookupCombo.h"
#include "widgets/WaitCursor.h"

#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace corvale {

TFCurvaTaglie::TFCurvaTaglie(Shop &shop, QWidget *parent)
    : SizeRunWindow(shop, QStringLiteral("CURVA TAGLIE"), QStringLiteral("Curva taglie"), parent)
    , m_sizeTypes(std::make_unique<db::Table>(shop.database())) {
    setObjectName(QStringLiteral("TFCurvaTaglie"));
    addButton(QStringLiteral("Stampa"), &TFCurvaTaglie::BStampaClick);
    addButton(QStringLiteral("Esporta"), &TFCurvaTaglie::BEsportaClick);
    addButton(QStringLiteral("Uscita"), &TFCurvaTaglie::BUscitaClick);
    m_sizeTypes->setTableName(articleColumns::sizeTypes);
    m_sizeTypes->setIndexName(articleColumns::description);

    m_sizeType = new LookupCombo(this);
    m_sizeType->setObjectName(QStringLiteral("FTaglia"));
    m_sizeType->setMinimumWidth(140);
    addSelectionControl(QStringLiteral("Tipo taglia"), m_sizeType);
    connect(m_sizeType, &QComboBox::currentIndexChanged, this, &TFCurvaTaglie::selectionChanged);
    // A year of sales up to today, unless the user says otherwise.
    const QDate today = shop.clock().today();
    auto dateBox = [&](const char *name, const QString &caption, QDate value) {
        auto *box = new QDateEdit(value, this);
        box->setObjectName(QString::fromLatin1(name));
        box->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        box->setCalendarPopup(true);
        addSelectionControl(caption, box);
        connect(box, &QDateEdit::dateChanged, this, &TFCurvaTaglie::selectionChanged);
        return box;
    };
    m_from = dateBox("DAL", QStringLiteral("DAL"), today.addYears(-1).addDays(1));
    m_to = dateBox("AL", QStringLiteral("AL"), today);

    setColumns({QStringLiteral("Taglia"), QStringLiteral("Venduti"), QStringLiteral("Venduti %"),
                QStringLiteral("Ricevuti"), QStringLiteral("Ricevuti %")});
    list().setMaximumWidth(420);
    hideStockGrid();
    m_chartArea = new QLabel(this);
    m_chartArea->setObjectName(QStringLiteral("Grafico"));
    m_chartArea->setFixedSize(SizeCurveChart::width, SizeCurveChart::height);
    body().addWidget(m_chartArea);
}

TFCurvaTaglie::~TFCurvaTaglie() = default;

QDate TFCurvaTaglie::from() const {
    return m_from->date();
}

QDate TFCurvaTaglie::to() const {
    return m_to->date();
}

QString TFCurvaTaglie::periodText() const {
    return QStringLiteral("dal %1 al %2")
        .arg(Formats::formatDate(from()), Formats::formatDate(to()));
}

void TFCurvaTaglie::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) {
        m_busy = true;
        runReportingEngineErrors(m_shop.prompter(), [&] {
            const QVariant chosen = m_sizeType->currentKey();
            m_sizeTypes->close();
            m_sizeTypes->open();
            m_sizeType->fill(*m_sizeTypes, articleColumns::description, articleColumns::key);
            m_sizeTypes->close();
            if (!chosen.isNull())
                m_sizeType->setCurrentKey(chosen);
            else if (m_sizeType->count() > 0)
                m_sizeType->setCurrentIndex(0);
        });
    }
    SizeRunWindow::showEvent(event);
}

void TFCurvaTaglie::refresh() {
    WaitCursor wait;
    SizeRunSelection s = selection();
    const QVariant type = m_sizeType->currentKey();
    s.sizeType = type.isNull() ? 0 : type.toLongLong();
    m_curve = {};
    if (s.sizeType != 0 && from() <= to())
        runReportingEngineErrors(m_shop.prompter(), [&] {
            m_curve = SizeCurve::compute(m_shop.database(), s, from(), to());
        });
    QStandardItemModel &m = model();
    m.setRowCount(0);
    const SizeCurve::Counts sold = m_curve.soldShares();
    const SizeCurve::Counts received = m_curve.receivedShares();
    for (int p : m_curve.positions()) {
        const size_t i = size_t(p - 1);
        const QString label =
            m_curve.type.isUsed(p) ? m_curve.type.label(p) : QStringLiteral("Tg %1").arg(p);
        QList<QStandardItem *> items{new QStandardItem(label),
                                     new QStandardItem(QString::number(m_curve.sold[i])),
                                     new QStandardItem(SizeCurve::shareText(sold[i])),
                                     new QStandardItem(QString::number(m_curve.received[i])),
                                     new QStandardItem(SizeCurve::shareText(received[i]))};
        for (int c = 1; c < 5; ++c)
            items[c]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m.appendRow(items);
    }
    totals().setText(QStringLiteral("Venduti %1   Ricevuti %2")
                         .arg(m_curve.soldTotal())
                         .arg(m_curve.receivedTotal()));
    m_chart = SizeCurveChart::render(m_curve, periodText());
    m_chartArea->setPixmap(QPixmap::fromImage(m_chart));
}

void TFCurvaTaglie::BStampaClick() {
    if (m_curve.positions().isEmpty())
        return;
    const QImage chart = m_chart;
    const QStringList table = m_curve.exportLines(m_shop.clock().today(), from(), to()).mid(2);
    print(QStringLiteral("Curva taglie"),
          [chart, table](PageCanvas &canvas) { SizeCurveChart::print(canvas, chart, table); });
}

void TFCurvaTaglie::BEsportaClick() {
    if (m_curve.positions().isEmpty())
        return;
    exportSpreadsheet(m_shop, m_curve.exportLines(m_shop.clock().today(), from(), to()));
}

} // namespace corvale
