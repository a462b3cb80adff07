#include "stock/TFTaglieRotte.h"

#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "shell/Shop.h"
#include "shell/ShopExport.h"
#include "stock/ReportTablePrintout.h"
#include "stock/StockWindowKit.h"
#include "widgets/WaitCursor.h"

#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>

namespace corvale {

namespace {

QString money(Money m) {
    return Formats::display(u",0.00", m.toDouble());
}

QString seasonText(const BrokenSizeRow &r) {
    return (r.year > 0 ? r.season + u' ' + QString::number(r.year) : r.season).trimmed();
}

} // namespace

TFTaglieRotte::TFTaglieRotte(Shop &shop, QWidget *parent)
    : SizeRunWindow(shop, QStringLiteral("TAGLIE ROTTE"), QStringLiteral("Taglie rotte"), parent) {
    setObjectName(QStringLiteral("TFTaglieRotte"));
    addButton(QStringLiteral("Stampa"), &TFTaglieRotte::BStampaClick);
    addButton(QStringLiteral("Esporta"), &TFTaglieRotte::BEsportaClick);
    addButton(QStringLiteral("Uscita"), &TFTaglieRotte::BUscitaClick);
    setColumns(BrokenSizes::columnTitles());
    list().horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
}

qint64 TFTaglieRotte::articleOfRow(int row) const {
    return row >= 0 && row < m_rows.size() ? m_rows[row].article : 0;
}

void TFTaglieRotte::refresh() {
    WaitCursor wait;
    const SizeRunSelection s = selection();
    if (!runReportingEngineErrors(m_shop.prompter(),
                                  [&] { m_rows = BrokenSizes::compute(m_shop.database(), s); }))
        m_rows.clear();
    QStandardItemModel &m = model();
    m.setRowCount(0);
    for (const BrokenSizeRow &r : std::as_const(m_rows)) {
        QList<QStandardItem *> items;
        for (const QString &text :
             {r.code, r.description, r.colour, r.supplier, r.brand, seasonText(r),
              r.missingLabels.join(u' '), QString::number(r.pieces), money(r.value)})
            items << new QStandardItem(text);
        items[7]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        items[8]->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m.appendRow(items);
    }
    const BrokenSizes::Totals t = BrokenSizes::totals(m_rows);
    totals().setText(QStringLiteral("Righe %1   Pezzi %2   Valore %3")
                         .arg(m_rows.size())
                         .arg(t.pieces)
                         .arg(money(t.value)));
}

void TFTaglieRotte::BStampaClick() {
    if (m_rows.isEmpty())
        return;
    ReportTablePrintout::Document d;
    d.nameLine1 = m_shop.texts().nameLine1;
    d.nameLine2 = m_shop.texts().nameLine2;
    d.title = QStringLiteral("TAGLIE ROTTE - ") + Formats::formatDate(m_shop.clock().today());
    const QList<int> shares{3, 7, 4, 5, 4, 4, 5, 2, 3};
    for (int i = 0; i < shares.size(); ++i)
        d.columns << ReportTablePrintout::Column{BrokenSizes::columnTitles()[i], shares[i], i >= 7};
    for (const BrokenSizeRow &r : std::as_const(m_rows))
        d.rows << QStringList{r.code,
                              r.description,
                              r.colour,
                              r.supplier,
                              r.brand,
                              seasonText(r),
                              r.missingLabels.join(u' '),
                              QString::number(r.pieces),
                              money(r.value)};
    const BrokenSizes::Totals t = BrokenSizes::totals(m_rows);
    d.closing = QStringList{QStringLiteral("TOTALI"),
                            {},
                            {},
                            {},
                            {},
                            {},
                            {},
                            QString::number(t.pieces),
                            money(t.value)};
    print(QStringLiteral("Taglie rotte"), [d](PageCanvas &c) { ReportTablePrintout::draw(c, d); });
}

void TFTaglieRotte::BEsportaClick() {
    if (m_rows.isEmpty())
        return;
    exportSpreadsheet(m_shop, BrokenSizes::exportLines(m_rows, m_shop.clock().today()));
}

} // namespace corvale
