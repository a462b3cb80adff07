#include "sales/TFCambio.h"

#include "catalogue/CapitalsValidator.h"
#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "platform/Prompter.h"
#include "sales/SaleArithmetic.h"
#include "sales/SaleSizePanel.h"
#include "sales/TFBuoni.h"
#include "shell/Shop.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

namespace corvale {

namespace {

QString money(Money m) {
    return Formats::format(u"%.2n", m.toDouble());
}

QTableWidget *listTable(QWidget *parent, const char *name, const QStringList &titles) {
    auto *t = new QTableWidget(0, int(titles.size()), parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels(titles);
    t->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    return t;
}

QPushButton *button(QWidget *parent, QHBoxLayout *row, const QString &caption, const QString &name,
                    const QString &hint) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    row->addWidget(b);
    return b;
}

} // namespace

TFCambio::TFCambio(Shop &shop, SaleExchange &exchange, qint64 key, const FiscalDocumentRef &quoted,
                   const QList<ReturnableLine> &lines, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_exchange(exchange)
    , m_key(key)
    , m_quoted(quoted)
    , m_lines(lines) {
    setObjectName(QStringLiteral("TFCambio"));
    setWindowTitle(QStringLiteral("Cambio taglia"));
    auto *layout = new QVBoxLayout(this);
    auto *heading =
        new QLabel(QStringLiteral("CAMBIO TAGLIA dello scontrino n. %1 (chiusura n. %2) del %3")
                       .arg(quoted.number)
                       .arg(quoted.closure)
                       .arg(Formats::formatDate(quoted.dateTime.date())),
                   this);
    heading->setObjectName(QStringLiteral("Intestazione"));
    layout->addWidget(heading);

    layout->addWidget(new QLabel(QStringLiteral("Capi che tornano"), this));
    m_table = new ReturnLinesTable(lines, this);
    connect(m_table, &ReturnLinesTable::picksChanged, this, &TFCambio::update);
    for (QDoubleSpinBox *box : m_table->boxes())
        m_editing << box;
    layout->addWidget(m_table, 1);

    auto *pick = new QHBoxLayout;
    pick->addWidget(new QLabel(QStringLiteral("Capi nuovi: codice"), this));
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("Codice"));
    m_code->setMaxLength(15);
    m_code->setValidator(new CapitalsValidator(m_code));
    m_code->setToolTip(QStringLiteral("Leggere o scrivere il codice del capo nuovo"));
    pick->addWidget(m_code);
    QPushButton *same =
        button(this, pick, QStringLiteral("Stesso articolo"), QStringLiteral("StessoArticolo"),
               QStringLiteral("Un'altra taglia o un altro colore dell'articolo che torna"));
    QPushButton *remove = button(this, pick, QStringLiteral("Togli"), QStringLiteral("Togli"),
                                 QStringLiteral("Togli il capo nuovo selezionato"));
    pick->addStretch();
    layout->addLayout(pick);

    m_panel = new SaleSizePanel(this);
    m_panel->setObjectName(QStringLiteral("Taglie"));
    m_panel->setMinimumHeight(140);
    m_panel->hide();
    layout->addWidget(m_panel, 1);

    m_new =
        listTable(this, "Nuovi",
                  {QStringLiteral("Articolo"), QStringLiteral("Colore"), QStringLiteral("Taglia"),
                   QStringLiteral("Prezzo"), QStringLiteral("Sc.%"), QStringLiteral("Importo")});
    layout->addWidget(m_new, 1);

    auto *sums = new QHBoxLayout;
    sums->addWidget(new QLabel(QStringLiteral("Rende ") + QChar(0x20AC), this));
    m_back = new QLabel(this);
    m_back->setObjectName(QStringLiteral("Rende"));
    sums->addWidget(m_back);
    sums->addWidget(new QLabel(QStringLiteral("Nuovi ") + QChar(0x20AC), this));
    m_newTotal = new QLabel(this);
    m_newTotal->setObjectName(QStringLiteral("TotaleNuovi"));
    sums->addWidget(m_newTotal);
    sums->addStretch();
    m_difference = new QLabel(this);
    m_difference->setObjectName(QStringLiteral("Differenza"));
    sums->addWidget(m_difference);
    m_mode = new QComboBox(this);
    m_mode->setObjectName(QStringLiteral("Modo"));
    m_mode->addItems(modeNames);
    m_mode->setToolTip(QStringLiteral("Come si paga o si rimborsa la differenza"));
    sums->addWidget(m_mode);
    m_voucher = new QLineEdit(this);
    m_voucher->setObjectName(QStringLiteral("Buono"));
    m_voucher->setPlaceholderText(QStringLiteral("Buono"));
    m_voucher->setToolTip(QStringLiteral("Numero o codice a barre del buono che paga"));
    m_voucher->setMaxLength(13);
    sums->addWidget(m_voucher);
    layout->addLayout(sums);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_confirm = button(this, buttons, QStringLiteral("Conferma"), QStringLiteral("Conferma"),
                       QStringLiteral("Emettere sul registratore il reso e la nuova vendita"));
    m_retry = button(this, buttons, QStringLiteral("Riprova"), QStringLiteral("Riprova"),
                     QStringLiteral("Inviare di nuovo la nuova vendita al registratore"));
    m_giveUp = button(this, buttons, QStringLiteral("Rinuncia"), QStringLiteral("Rinuncia"),
                      QStringLiteral("Lasciare il reso da solo, senza la nuova vendita"));
    QPushButton *close = button(this, buttons, QStringLiteral("Chiudi"), QStringLiteral("Chiudi"),
                                QStringLiteral("Chiudere il cambio"));
    layout->addLayout(buttons);
    m_retry->setEnabled(false);
    m_giveUp->setEnabled(false);
    m_editing << m_code << same << remove << m_panel << m_new << m_mode << m_voucher << m_confirm;

    connect(m_code, &QLineEdit::returnPressed, this, &TFCambio::codeEntered);
    connect(same, &QPushButton::clicked, this, &TFCambio::BStessoClick);
    connect(remove, &QPushButton::clicked, this, &TFCambio::BTogliClick);
    connect(m_confirm, &QPushButton::clicked, this, &TFCambio::BConfermaClick);
    connect(m_retry, &QPushButton::clicked, this, &TFCambio::BRiprovaClick);
    connect(m_giveUp, &QPushButton::clicked, this, &TFCambio::BRinunciaClick);
    connect(close, &QPushButton::clicked, this, &TFCambio::reject);
    connect(m_panel, &SaleSizePanel::cellChosen, this, &TFCambio::sizeChosen);
    connect(m_panel, &SaleSizePanel::cancelClicked, m_panel, &QWidget::hide);
    connect(m_mode, &QComboBox::currentIndexChanged, this, &TFCambio::update);
    connect(&m_exchange, &SaleExchange::stageChanged, this, &TFCambio::stageChanged);
    connect(&m_exchange, &SaleExchange::finished, this, &TFCambio::exchangeFinished);
    resize(760, 560);
    update();
}

QList<ReturnPick> TFCambio::picks() const {
    return m_table->picks();
}

PaymentType TFCambio::mode() const {
    return tenderChoice(m_mode->currentIndex());
}

void TFCambio::update() {
    Money back;
    if (!picks().isEmpty())
        runReportingEngineErrors(m_shop.prompter(), [&] {
            QString reason;
            if (const auto plan = m_exchange.planBack(m_key, picks(), &reason))
                back = plan->refund;
        });
    Money added;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (!m_rows.isEmpty())
            added = Money::of(SaleArithmetic::totals(m_rows, 0).net);
    });
    m_back->setText(money(back));
    m_newTotal->setText(money(added));
    const Money difference = added - back;
    if (difference > Money())
        m_difference->setText(QStringLiteral("Da pagare ") + QChar(0x20AC) + QStringLiteral(" ") +
                              money(difference));
    else if (difference < Money())
        m_difference->setText(QStringLiteral("Da rimborsare ") + QChar(0x20AC) +
                              QStringLiteral(" ") + money(-difference));
    else
        m_difference->setText(QStringLiteral("Nessuna differenza"));
    // A voucher pays a difference; a refund as a voucher issues a new one.
    m_voucher->setVisible(mode() == PaymentType::Voucher && difference > Money());
}

void TFCambio::addRow(const SheetRow &row) {
    m_rows << row;
    const int r = m_new->rowCount();
    m_new->insertRow(r);
    const QStringList cells{
        row.text(sheet::DESCRIZION),
        row.text(sheet::COLORE),
        row.text(sheet::CTAGLIA),
        Formats::format(u"%.2n", row.number(sheet::PREZZO)),
        row.number(sheet::SCONTO) != 0 ? QString::number(row.number(sheet::SCONTO)) : QString(),
        Formats::format(u"%.2n", row.amount.toDouble())};
    for (int c = 0; c < cells.size(); ++c)
        m_new->setItem(r, c, new QTableWidgetItem(cells.at(c)));
    m_new->setCurrentCell(r, 0);
    update();
}

void TFCambio::codeEntered() {
    const QString code = m_code->text().trimmed();
    if (code.isEmpty())
        return;
    SaleExchange::Found found;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] { found = m_exchange.lookup(code); }))
        return;
    m_code->clear();
    if (found.row) {
        m_panel->hide();
        addRow(*found.row);
        return;
    }
    if (found.article == 0) {
        m_shop.prompter().error(code + QStringLiteral("\r") + notFoundText);
        return;
    }
    showStock(found.article);
}

void TFCambio::showStock(qint64 article) {
    if (!runReportingEngineErrors(m_shop.prompter(),
                                  [&] { m_stock = m_exchange.stockOf(article); }))
        return;
    m_panel->show(m_stock.description, m_stock.sizeTypeName, m_stock.stock);
    m_panel->layoutFor(std::max(400, width() - 40));
}

void TFCambio::BStessoClick() {
    int line = m_table->currentRow();
    if (line < 0 && !picks().isEmpty())
        line = picks().first().line;
    if (line < 0 || line >= m_lines.size())
        line = 0;
    if (m_lines.isEmpty())
        return;
    showStock(m_lines.at(line).row.values.value(sheet::CODICE).toLongLong());
}

void TFCambio::sizeChosen(int row, int position) {
    std::optional<SheetRow> chosen;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            chosen = m_exchange.fromStock(m_stock.stock, row, position);
        }))
        return;
    if (!chosen)
        return;
    m_panel->hide();
    addRow(*chosen);
}

void TFCambio::BTogliClick() {
    const int r = m_new->currentRow();
    if (r < 0 || r >= m_rows.size())
        return;
    m_rows.removeAt(r);
    m_new->removeRow(r);
    update();
}

void TFCambio::BConfermaClick() {
    if (m_exchange.stage() != SaleExchange::Stage::Idle &&
        m_exchange.stage() != SaleExchange::Stage::Done)
        return;
    std::optional<ExchangePlan> plan;
    QString reason;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            plan = m_exchange.plan(m_key, picks(), m_rows, mode(), &reason);
        }))
        return;
    if (!plan) {
        m_shop.prompter().error(reason);
        return;
    }
    const Money difference = plan->difference();
    QString settle = QStringLiteral("nessuna differenza");
    if (difference > Money())
        settle = QStringLiteral("il cliente paga € %1 (%2)")
                     .arg(money(difference), modeNames.at(m_mode->currentIndex()).toLower());
    else if (difference < Money())
        settle = QStringLiteral("al cliente si rimborsano € %1 (%2)")
                     .arg(money(-difference), modeNames.at(m_mode->currentIndex()).toLower());
    if (!m_shop.prompter().confirm(
            QStringLiteral("Emettere sul registratore il reso di € %1 dello scontrino n. %2 e la "
                           "vendita dei capi nuovi di € %3: %4?")
                .arg(money(plan->back.refund))
                .arg(m_quoted.number)
                .arg(money(plan->saleTotal), settle)))
        return;
    m_exchange.start(m_key, m_quoted, *plan, m_voucher->text());
}

void TFCambio::BRiprovaClick() {
    m_exchange.retry();
}

void TFCambio::BRinunciaClick() {
    m_exchange.abandon();
}

void TFCambio::stageChanged(SaleExchange::Stage stage) {
    const bool editing = stage == SaleExchange::Stage::Idle;
    for (QWidget *w : std::as_const(m_editing))
        w->setEnabled(editing);
    const bool pending = stage == SaleExchange::Stage::SalePending;
    m_retry->setEnabled(pending);
    m_giveUp->setEnabled(pending);
}

void TFCambio::exchangeFinished(bool completed) {
    if (!completed) {
        // A return left alone has been stored: this exchange is over.
        if (m_exchange.returnKey() != 0)
            QDialog::reject();
        return;
    }
    QString text = QStringLiteral("Cambio eseguito: reso (documento n. %1) e nuova vendita "
                                  "(documento n. %2) registrati tra le vendite.")
                       .arg(m_exchange.returnDocument().number)
                       .arg(m_exchange.saleDocument().number);
    const auto &voucher = m_exchange.issuedVoucher();
    if (voucher)
        text += QStringLiteral("\rRimborso con il buono n. %1 di € %2: viene stampato.")
                    .arg(voucher->number)
                    .arg(money(voucher->amount));
    m_shop.prompter().information(text);
    if (voucher)
        printVoucher(m_shop, *voucher);
    accept();
}

void TFCambio::reject() {
    if (m_exchange.isRunning()) {
        m_shop.prompter().error(busyText);
        return;
    }
    // Closed with the sale still to send: the return stays alone, said so.
    if (m_exchange.stage() == SaleExchange::Stage::SalePending) {
        m_exchange.abandon();
        return;
    }
    QDialog::reject();
}

} // namespace corvale
