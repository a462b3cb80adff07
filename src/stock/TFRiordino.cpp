#include "stock/TFRiordino.h"

#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "shell/Shop.h"
#include "shell/ShopExport.h"
#include "stock/ReportTablePrintout.h"
#include "stock/StockWindowKit.h"
#include "widgets/WaitCursor.h"

#include <QHeaderView>
#include <QLabel>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>

namespace corvale {

TFRiordino::TFRiordino(Shop &shop, QWidget *parent)
    : SizeRunWindow(shop, QStringLiteral("RIORDINO"), QStringLiteral("Riordino"), parent) {
    setObjectName(QStringLiteral("TFRiordino"));
    addButton(QStringLiteral("Crea ordine"), &TFRiordino::BCreaOrdineClick);
    addButton(QStringLiteral("Stampa"), &TFRiordino::BStampaClick);
    addButton(QStringLiteral("Esporta"), &TFRiordino::BEsportaClick);
    addButton(QStringLiteral("Uscita"), &TFRiordino::BUscitaClick);

    const ReorderSettings saved = ReorderSettings::read(shop.ini());
    auto weeks = [&](const char *name, const QString &caption, int min, int value) {
        auto *spin = new QSpinBox(this);
        spin->setObjectName(QString::fromLatin1(name));
        spin->setRange(min, 520);
        spin->setValue(value);
        addSelectionControl(caption, spin);
        connect(spin, &QSpinBox::valueChanged, this, &TFRiordino::settingsChanged);
        return spin;
    };
    m_salesWeeks =
        weeks("SettimaneVendite", QStringLiteral("Settimane di vendita"), 1, saved.salesWeeks);
    m_coverWeeks =
        weeks("SettimaneCopertura", QStringLiteral("Settimane di copertura"), 0, saved.coverWeeks);

    setColumns(ReorderSuggestions::columnTitles());
    list().horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    list().setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    connect(&model(), &QStandardItemModel::itemChanged, this, &TFRiordino::itemChanged);
}

ReorderSettings TFRiordino::settings() const {
    return {m_salesWeeks->value(), m_coverWeeks->value()};
}

qint64 TFRiordino::articleOfRow(int row) const {
    return row >= 0 && row < m_rows.size() ? m_rows[row].article : 0;
}

void TFRiordino::settingsChanged() {
    if (m_busy)
        return;
    settings().write(m_shop.ini());
    refresh();
}

void TFRiordino::refresh() {
    WaitCursor wait;
    const SizeRunSelection s = selection();
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            m_rows = ReorderSuggestions::compute(m_shop.database(), s, settings(),
                                                 m_shop.clock().today());
        }))
        m_rows.clear();
    m_filling = true;
    QStandardItemModel &m = model();
    m.setRowCount(0);
    for (const ReorderRow &r : std::as_const(m_rows)) {
        QList<QStandardItem *> items;
        for (const QString &text :
             {r.supplier, r.code, r.description, r.colour, r.label, QString::number(r.sold),
              QString::number(r.stock), QString::number(r.onOrder), QString::number(r.suggested),
              QString::number(r.quantity)}) {
            auto *item = new QStandardItem(text);
            item->setEditable(false);
            items << item;
        }
        for (int c = 5; c <= quantityColumn; ++c)
            items[c]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        items[quantityColumn]->setEditable(true);
        items[quantityColumn]->setBackground(QColor(0xFF, 0xFF, 0xE1));
        m.appendRow(items);
    }
    m_filling = false;
    showTotals();
}

void TFRiordino::itemChanged(QStandardItem *item) {
    if (m_filling || item->column() != quantityColumn || item->row() >= m_rows.size())
        return;
    ReorderRow &row = m_rows[item->row()];
    bool ok = false;
    const qint64 typed = item->text().trimmed().toLongLong(&ok);
    m_filling = true;
    if (!ok || typed < 0 || typed > 999999) {
        m_shop.prompter().error(
            QStringLiteral("Quantità non valida: indicare un numero intero di pezzi, zero o più."));
        item->setText(QString::number(row.quantity));
    } else {
        row.quantity = typed;
        item->setText(QString::number(typed));
    }
    m_filling = false;
    showTotals();
}

void TFRiordino::showTotals() {
    qint64 suggested = 0, quantity = 0;
    for (const ReorderRow &r : std::as_const(m_rows)) {
        suggested += r.suggested;
        quantity += r.quantity;
    }
    totals().setText(QStringLiteral("Righe %1   Proposta %2   Da ordinare %3")
                         .arg(m_rows.size())
                         .arg(suggested)
                         .arg(quantity));
}

void TFRiordino::BCreaOrdineClick() {
    qint64 pieces = 0;
    for (const ReorderRow &r : std::as_const(m_rows))
        pieces += r.quantity;
    if (pieces <= 0) {
        m_shop.prompter().error(QStringLiteral("Nessuna quantità da ordinare."));
        return;
    }
    if (!m_shop.prompter().confirm(QStringLiteral("Creare gli ordini ai fornitori?")))
        return;
    ReorderOrders::Outcome outcome;
    const bool done = runReportingEngineErrors(m_shop.prompter(), [&] {
        outcome = ReorderOrders::create(m_shop.database(), m_shop.routines(), m_rows,
                                        m_shop.clock().today());
    });
    if (!done)
        return;
    m_shop.prompter().information(ReorderOrders::summary(outcome));
    refresh(); // the new orders are on order now
    if (!outcome.orders.isEmpty() && m_orderWindow)
        m_orderWindow(outcome.orders.first().key);
}

void TFRiordino::BStampaClick() {
    if (m_rows.isEmpty())
        return;
    ReorderSettings s = settings();
    ReportTablePrintout::Document d;
    d.nameLine1 = m_shop.texts().nameLine1;
    d.nameLine2 = m_shop.texts().nameLine2;
    d.title = QStringLiteral("RIORDINO - %1 - vendite di %2 settimane, copertura di %3")
                  .arg(Formats::formatDate(m_shop.clock().today()))
                  .arg(s.salesWeeks)
                  .arg(s.coverWeeks);
    const QList<int> shares{5, 3, 7, 4, 2, 2, 2, 2, 2, 2};
    for (int i = 0; i < shares.size(); ++i)
        d.columns << ReportTablePrintout::Column{ReorderSuggestions::columnTitles()[i], shares[i],
                                                 i >= 5};
    qint64 quantity = 0;
    for (const ReorderRow &r : std::as_const(m_rows)) {
        d.rows << QStringList{r.supplier,
                              r.code,
                              r.description,
                              r.colour,
                              r.label,
                              QString::number(r.sold),
                              QString::number(r.stock),
                              QString::number(r.onOrder),
                              QString::number(r.suggested),
                              QString::number(r.quantity)};
        quantity += r.quantity;
    }
    d.closing = QStringList{QStringLiteral("TOTALI"), {}, {}, {}, {}, {}, {}, {}, {},
                            QString::number(quantity)};
    print(QStringLiteral("Riordino"), [d](PageCanvas &c) { ReportTablePrintout::draw(c, d); });
}

void TFRiordino::BEsportaClick() {
    if (m_rows.isEmpty())
        return;
    exportSpreadsheet(m_shop,
                      ReorderSuggestions::exportLines(m_rows, m_shop.clock().today(), settings()));
}

} // namespace corvale
