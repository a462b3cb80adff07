#include "sales/TFBuoni.h"

#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "printing/PrintService.h"
#include "sales/VoucherPrintout.h"
#include "shell/Shop.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace corvale {

namespace {

QString money(Money m) {
    return Formats::format(u"%.2n", m.toDouble());
}

QTableWidget *table(QWidget *parent, const QString &name, const QStringList &headings) {
    auto *t = new QTableWidget(0, int(headings.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(headings);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void fillRow(QTableWidget &t, int row, const QStringList &cells) {
    for (int c = 0; c < cells.size(); ++c)
        t.setItem(row, c, new QTableWidgetItem(cells.at(c)));
}

} // namespace

void printVoucher(Shop &shop, const Voucher &voucher) {
    VoucherPrintout printout;
    printout.voucher = voucher;
    if (!runReportingEngineErrors(shop.prompter(), [&] { printout.readShop(shop.database()); }))
        return;
    shop.printService().print(QStringLiteral("Buono"),
                              [printout](PageCanvas &canvas) { printout.draw(canvas); });
}

TFBuoni::TFBuoni(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop) {
    setObjectName(QStringLiteral("TFBuoni"));
    setWindowTitle(QStringLiteral("Buoni"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("BUONI"), this));
    m_list = table(this, QStringLiteral("Buoni"),
                   {QStringLiteral("Numero"), QStringLiteral("Codice"), QStringLiteral("Emesso"),
                    QStringLiteral("Scadenza"), QStringLiteral("Importo"),
                    QStringLiteral("Residuo"), QStringLiteral("Stato")});
    layout->addWidget(m_list, 2);
    layout->addWidget(new QLabel(QStringLiteral("Movimenti del buono"), this));
    m_history = table(this, QStringLiteral("Movimenti"),
                      {QStringLiteral("Data"), QStringLiteral("Ora"), QStringLiteral("Movimento"),
                       QStringLiteral("Importo"), QStringLiteral("Vendita")});
    layout->addWidget(m_history, 1);
    auto *buttons = new QHBoxLayout;
    auto *print = new QPushButton(QStringLiteral("Stampa"), this);
    print->setObjectName(QStringLiteral("Stampa"));
    print->setToolTip(QStringLiteral("Stampa il buono selezionato"));
    auto *close = new QPushButton(QStringLiteral("Chiudi"), this);
    close->setObjectName(QStringLiteral("Chiudi"));
    buttons->addStretch();
    buttons->addWidget(print);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(print, &QPushButton::clicked, this, &TFBuoni::BStampaClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &TFBuoni::showHistory);
    resize(720, 480);
}

void TFBuoni::showEvent(QShowEvent *event) {
    reload();
    QDialog::showEvent(event);
}

void TFBuoni::reload() {
    m_vouchers.clear();
    runReportingEngineErrors(m_shop.prompter(),
                             [&] { m_vouchers = VoucherStore(m_shop.database()).all(); });
    const QDate today = m_shop.clock().today();
    m_list->setRowCount(int(m_vouchers.size()));
    for (int i = 0; i < m_vouchers.size(); ++i) {
        const Voucher &v = m_vouchers.at(i);
        const QString state = v.residual <= Money()                    ? QStringLiteral("Speso")
                              : v.expiry.isValid() && today > v.expiry ? QStringLiteral("Scaduto")
                              : v.residual < v.amount ? QStringLiteral("Speso in parte")
                                                      : QStringLiteral("Valido");
        fillRow(*m_list, i,
                {QString::number(v.number), v.barcode, Formats::formatDate(v.issued),
                 Formats::formatDate(v.expiry), money(v.amount), money(v.residual), state});
    }
    m_history->setRowCount(0);
    if (!m_vouchers.isEmpty())
        m_list->selectRow(0);
}

void TFBuoni::showHistory() {
    const int row = m_list->currentRow();
    m_history->setRowCount(0);
    if (row < 0 || row >= m_vouchers.size())
        return;
    QList<VoucherMovement> lines;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        lines = VoucherStore(m_shop.database()).history(m_vouchers.at(row).number);
    });
    m_history->setRowCount(int(lines.size()));
    for (int i = 0; i < lines.size(); ++i) {
        const VoucherMovement &m = lines.at(i);
        fillRow(*m_history, i,
                {Formats::formatDate(m.date), m.time, m.cause, money(m.amount),
                 m.sale > 0 ? QString::number(m.sale) : QString()});
    }
}

void TFBuoni::BStampaClick() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_vouchers.size()) {
        m_shop.prompter().error(QStringLiteral("Selezionare un buono da stampare."));
        return;
    }
    printVoucher(m_shop, m_vouchers.at(row));
}

} // namespace corvale
