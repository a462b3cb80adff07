#include "sales/TFResoBanco.h"

#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "platform/Prompter.h"
#include "shell/Shop.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace corvale {

namespace {} // namespace

TFResoBanco::TFResoBanco(Shop &shop, SaleVoid &operation, qint64 key,
                         const FiscalDocumentRef &quoted, const QList<ReturnableLine> &lines,
                         QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_operation(operation)
    , m_key(key)
    , m_quoted(quoted)
    , m_lines(lines) {
    setObjectName(QStringLiteral("TFResoBanco"));
    setWindowTitle(QStringLiteral("Reso"));
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(QStringLiteral("RESO dello scontrino n. %1 (chiusura n. %2) del %3")
                                   .arg(quoted.number)
                                   .arg(quoted.closure)
                                   .arg(Formats::formatDate(quoted.dateTime.date())),
                               this);
    heading->setObjectName(QStringLiteral("Intestazione"));
    layout->addWidget(heading);

    m_table = new ReturnLinesTable(lines, this);
    connect(m_table, &ReturnLinesTable::picksChanged, this, &TFResoBanco::updateRefund);
    layout->addWidget(m_table);

    auto *foot = new QHBoxLayout;
    foot->addWidget(new QLabel(QStringLiteral("Rimborso"), this));
    m_refund = new QComboBox(this);
    m_refund->setObjectName(QStringLiteral("Rimborso"));
    m_refund->addItems(refundNames);
    foot->addWidget(m_refund);
    foot->addStretch();
    foot->addWidget(new QLabel(QStringLiteral("Totale ") + QChar(0x20AC), this));
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("Totale"));
    foot->addWidget(m_total);
    layout->addLayout(foot);

    auto *buttons = new QHBoxLayout;
    auto *all = new QPushButton(QStringLiteral("Tutto"), this);
    all->setObjectName(QStringLiteral("Tutto"));
    all->setToolTip(QStringLiteral("Rendere tutti i capi rimasti"));
    auto *confirm = new QPushButton(QStringLiteral("Conferma"), this);
    confirm->setObjectName(QStringLiteral("Conferma"));
    confirm->setToolTip(QStringLiteral("Emettere il reso sul registratore"));
    auto *cancel = new QPushButton(QStringLiteral("Annulla"), this);
    cancel->setObjectName(QStringLiteral("Annulla"));
    buttons->addWidget(all);
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(all, &QPushButton::clicked, this, &TFResoBanco::BTuttoClick);
    connect(confirm, &QPushButton::clicked, this, &TFResoBanco::BConfermaClick);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(640, 320);
    updateRefund();
}

QList<ReturnPick> TFResoBanco::picks() const {
    return m_table->picks();
}

PaymentType TFResoBanco::refund() const {
    return tenderChoice(m_refund->currentIndex());
}

void TFResoBanco::BTuttoClick() {
    m_table->takeAll();
}

void TFResoBanco::updateRefund() {
    std::optional<ReturnPlan> plan;
    QString reason;
    if (!picks().isEmpty())
        runReportingEngineErrors(m_shop.prompter(),
                                 [&] { plan = m_operation.planReturn(m_key, picks(), &reason); });
    m_total->setText(plan ? Formats::format(u"%.2n", plan->refund.toDouble())
                          : QStringLiteral("0,00"));
}

void TFResoBanco::BConfermaClick() {
    if (m_operation.isRunning())
        return;
    std::optional<ReturnPlan> plan;
    QString reason;
    if (!runReportingEngineErrors(m_shop.prompter(),
                                  [&] { plan = m_operation.planReturn(m_key, picks(), &reason); }))
        return;
    if (!plan) {
        m_shop.prompter().error(reason);
        return;
    }
    if (!m_shop.prompter().confirm(
            QStringLiteral("Emettere sul registratore il reso di € %1 (%2) dello scontrino n. %3?")
                .arg(Formats::format(u"%.2n", plan->refund.toDouble()),
                     refundNames.at(m_refund->currentIndex()).toLower())
                .arg(m_quoted.number)))
        return;
    if (m_operation.startReturn(m_key, m_quoted, *plan, refund()))
        accept();
}

} // namespace corvale
