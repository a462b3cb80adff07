#include "sales/TFNonFiscali.h"

#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "platform/Prompter.h"
#include "printing/PrintService.h"
#include "sales/OfflineSalesPrintout.h"
#include "shell/Shop.h"
#include "widgets/TitleBand.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

namespace corvale {

namespace {

QString euros(Money m) {
    return Formats::format(u"%.2n", m.toDouble());
}

} // namespace

TFNonFiscali::TFNonFiscali(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_sales(new OfflineSales(shop, this)) {
    setObjectName(QStringLiteral("TFNonFiscali"));
    setWindowTitle(QStringLiteral("Vendite non fiscalizzate"));
    auto *layout = new QVBoxLayout(this);
    auto *band = new TitleBand(QStringLiteral("VENDITE NON FISCALIZZATE"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *toolbar = new QHBoxLayout;
    auto add = [&](const QString &name, const QString &caption, const QString &tip) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setToolTip(tip);
        toolbar->addWidget(b);
        m_buttons << b;
        return b;
    };
    QPushButton *send = add(QStringLiteral("BInvia"), QStringLiteral("Invia al registratore"),
                            QStringLiteral("Invia al registratore telematico le vendite "
                                           "selezionate"));
    QPushButton *sendAll = add(QStringLiteral("BInviaTutte"), QStringLiteral("Invia tutte"),
                               QStringLiteral("Invia al registratore telematico tutte le vendite "
                                              "in attesa"));
    QPushButton *byHand =
        add(QStringLiteral("BAMano"), QStringLiteral("Segna come registrata a mano"),
            QStringLiteral("Le vendite selezionate sono scritte nel registro dei corrispettivi di "
                           "emergenza"));
    QPushButton *print = add(QStringLiteral("Stampa"), QStringLiteral("Stampa"),
                             QStringLiteral("Stampa l'elenco per il registro di emergenza"));
    toolbar->addStretch();
    auto *close = new QPushButton(QStringLiteral("Chiudi"), this);
    close->setObjectName(QStringLiteral("Chiudi"));
    toolbar->addWidget(close);
    m_buttons << close;
    layout->addLayout(toolbar);

    m_byHand = new QCheckBox(QStringLiteral("Mostra anche quelle registrate a mano"), this);
    m_byHand->setObjectName(QStringLiteral("AncheAMano"));
    layout->addWidget(m_byHand);

    const QStringList headings{QStringLiteral("Data"),        QStringLiteral("Ora"),
                               QStringLiteral("Numero"),      QStringLiteral("Contanti"),
                               QStringLiteral("Elettronico"), QStringLiteral("Buono"),
                               QStringLiteral("Totale"),      QStringLiteral("Stato")};
    m_list = new QTableWidget(0, int(headings.size()), this);
    m_list->setObjectName(QStringLiteral("Lista"));
    m_list->setHorizontalHeaderLabels(headings);
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_list, 1);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("Riepilogo"));
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);

    connect(send, &QPushButton::clicked, this, &TFNonFiscali::BInviaClick);
    connect(sendAll, &QPushButton::clicked, this, &TFNonFiscali::BInviaTutteClick);
    connect(byHand, &QPushButton::clicked, this, &TFNonFiscali::BAManoClick);
    connect(print, &QPushButton::clicked, this, &TFNonFiscali::BStampaClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_byHand, &QCheckBox::toggled, this, &TFNonFiscali::reload);
    connect(m_sales, &OfflineSales::finished, this, &TFNonFiscali::sendingFinished);
    resize(760, 480);
}

TFNonFiscali::~TFNonFiscali() = default;

void TFNonFiscali::showEvent(QShowEvent *event) {
    reload();
    QDialog::showEvent(event);
}

void TFNonFiscali::reject() {
    // The register's answer must find the window that asked.
    if (m_sales->isRunning())
        return;
    QDialog::reject();
}

QString TFNonFiscali::summaryText() const {
    return m_summary->text();
}

void TFNonFiscali::reload() {
    m_shown.clear();
    runReportingEngineErrors(m_shop.prompter(),
                             [&] { m_shown = m_sales->list(m_byHand->isChecked()); });
    m_list->clearSelection();
    m_list->setRowCount(int(m_shown.size()));
    int waiting = 0;
    Money total;
    for (int i = 0; i < m_shown.size(); ++i) {
        const OfflineSale &sale = m_shown.at(i);
        const QStringList cells{Formats::formatDate(sale.date),
                                sale.time.left(5),
                                QString::number(sale.number),
                                euros(sale.cash),
                                euros(sale.card),
                                euros(sale.voucher),
                                euros(sale.total),
                                saleFiscalStateText(sale.state)};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            if (c >= 3 && c <= 6)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_list->setItem(i, c, item);
        }
        if (isWaiting(sale.state)) {
            ++waiting;
            total += sale.total;
        }
    }
    m_summary->setText(waiting == 0 ? QStringLiteral("Nessuna vendita in attesa del registratore.")
                                    : QStringLiteral("Vendite in attesa del registratore: %1, "
                                                     "totale € %2.")
                                          .arg(waiting)
                                          .arg(euros(total)));
}

QList<qint64> TFNonFiscali::selectedKeys() const {
    std::set<int> rows;
    for (const QModelIndex &index : m_list->selectionModel()->selectedRows())
        rows.insert(index.row());
    QList<qint64> keys;
    for (const int row : rows)
        if (row >= 0 && row < m_shown.size())
            keys << m_shown.at(row).key;
    return keys;
}

void TFNonFiscali::setBusy(bool busy) {
    for (QPushButton *b : std::as_const(m_buttons))
        b->setEnabled(!busy);
    m_byHand->setEnabled(!busy);
    if (busy)
        m_summary->setText(QStringLiteral("Invio al registratore in corso..."));
}

void TFNonFiscali::BInviaClick() {
    const QList<qint64> keys = selectedKeys();
    if (keys.isEmpty()) {
        m_shop.prompter().error(noneSelectedText);
        return;
    }
    send(keys);
}

void TFNonFiscali::BInviaTutteClick() {
    QList<qint64> keys;
    for (const OfflineSale &sale : std::as_const(m_shown))
        if (isWaiting(sale.state))
            keys << sale.key;
    if (keys.isEmpty()) {
        m_shop.prompter().error(QStringLiteral("Nessuna vendita in attesa del registratore."));
        return;
    }
    send(keys);
}

void TFNonFiscali::send(const QList<qint64> &keys) {
    // A run that ends at once (nothing left to send, a sale refused before
    // the register is asked) has finished before send() returns.
    setBusy(true);
    if (!m_sales->send(keys))
        setBusy(false);
}

void TFNonFiscali::sendingFinished(int sent, bool) {
    setBusy(false);
    reload();
    if (sent > 0)
        m_summary->setText(QStringLiteral("Vendite inviate al registratore: %1.\n").arg(sent) +
                           m_summary->text());
}

void TFNonFiscali::BAManoClick() {
    const QList<qint64> keys = selectedKeys();
    if (keys.isEmpty()) {
        m_shop.prompter().error(noneSelectedText);
        return;
    }
    if (!m_shop.prompter().confirm(byHandQuestion.arg(keys.size())))
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        for (const qint64 key : keys)
            m_sales->markByHand(key);
    });
    reload();
}

void TFNonFiscali::BStampaClick() {
    if (m_shown.isEmpty()) {
        m_shop.prompter().error(nothingToPrintText);
        return;
    }
    OfflineSalesPrintout printout;
    printout.nameLine1 = m_shop.texts().nameLine1;
    printout.nameLine2 = m_shop.texts().nameLine2;
    printout.sales = m_shown;
    m_shop.printService().print(QStringLiteral("Vendite non fiscalizzate"),
                                [printout](PageCanvas &canvas) { printout.draw(canvas); });
}

} // namespace corvale
