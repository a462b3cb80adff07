#include "sales/TFChiusura.h"

#include "platform/EngineError.h"
#include "platform/Prompter.h"
#include "sales/DailyClosure.h"
#include "sales/OfflineSales.h"
#include "sales/TFNonFiscali.h"
#include "shell/Shop.h"
#include "widgets/TitleBand.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvale {

TFChiusura::TFChiusura(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_closure(new DailyClosure(shop, this)) {
    setObjectName(QStringLiteral("TFChiusura"));
    setWindowTitle(QStringLiteral("Registratore Telematico"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new TitleBand(QStringLiteral("REGISTRATORE TELEMATICO"), this));
    auto *row = new QHBoxLayout;
    auto add = [&](const QString &name, const QString &text, const QString &tip) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setToolTip(tip);
        row->addWidget(b);
        m_buttons << b;
        return b;
    };
    QPushButton *z = add(QStringLiteral("BChiusura"), QStringLiteral("Chiusura giornaliera"),
                         QStringLiteral("Chiusura giornaliera (Z) del registratore"));
    QPushButton *x = add(QStringLiteral("BLettura"), QStringLiteral("Lettura giornaliera"),
                         QStringLiteral("Lettura giornaliera (X): i totali del giorno"));
    QPushButton *state = add(QStringLiteral("BStato"), QStringLiteral("Stato"),
                             QStringLiteral("Lo stato del registratore"));
    QPushButton *offline =
        add(QStringLiteral("BNonFiscalizzate"), QStringLiteral("Non fiscalizzate"),
            QStringLiteral("Le vendite salvate senza il registratore, da inviare o registrare a "
                           "mano"));
    auto *close = new QPushButton(QStringLiteral("Chiudi"), this);
    close->setObjectName(QStringLiteral("BChiudi"));
    row->addStretch();
    row->addWidget(close);
    layout->addLayout(row);
    m_answer = new QLabel(this);
    m_answer->setObjectName(QStringLiteral("Risposta"));
    m_answer->setWordWrap(true);
    m_answer->setMinimumHeight(80);
    m_answer->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_answer->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_answer, 1);
    m_waiting = new QLabel(this);
    m_waiting->setObjectName(QStringLiteral("NonFiscalizzate"));
    m_waiting->setStyleSheet(QStringLiteral("color: red"));
    m_waiting->setWordWrap(true);
    layout->addWidget(m_waiting);
    connect(z, &QPushButton::clicked, this, &TFChiusura::BChiusuraClick);
    connect(x, &QPushButton::clicked, this, &TFChiusura::BLetturaClick);
    connect(state, &QPushButton::clicked, this, &TFChiusura::BStatoClick);
    connect(offline, &QPushButton::clicked, this, &TFChiusura::BNonFiscalizzateClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_closure, &DailyClosure::finished, this, &TFChiusura::onFinished);
    resize(640, 240);
}

void TFChiusura::showEvent(QShowEvent *event) {
    // The window is made once: the count is read at each showing.
    showWaiting();
    QDialog::showEvent(event);
}

TFChiusura::~TFChiusura() = default;

QString TFChiusura::answerText() const {
    return m_answer->text();
}

QString TFChiusura::waitingText() const {
    return m_waiting->text();
}

int TFChiusura::showWaiting() {
    int waiting = -1;
    runReportingEngineErrors(m_shop.prompter(),
                             [&] { waiting = OfflineSales::waiting(m_shop.database()); });
    m_waiting->setText(waiting > 0 ? QStringLiteral("Vendite non fiscalizzate in attesa del "
                                                    "registratore: %1")
                                         .arg(waiting)
                                   : QString());
    m_waiting->setVisible(waiting > 0);
    return waiting;
}

void TFChiusura::BNonFiscalizzateClick() {
    TFNonFiscali window(m_shop, this);
    window.exec();
    showWaiting();
}

void TFChiusura::BChiusuraClick() {
    // Sales stored without the register are not in its takings: the closure
    // is the moment to send them or to write them by hand.
    const int waiting = showWaiting();
    const QString question =
        waiting > 0 ? waitingBeforeZText.arg(waiting) + confirmZText : confirmZText;
    if (!m_shop.prompter().confirm(question))
        return;
    if (m_closure->report(FiscalDevice::Report::Z))
        setBusy(true);
}

void TFChiusura::BLetturaClick() {
    if (m_closure->report(FiscalDevice::Report::X))
        setBusy(true);
}

void TFChiusura::BStatoClick() {
    if (m_closure->queryStatus())
        setBusy(true);
}

void TFChiusura::setBusy(bool busy) {
    for (QPushButton *b : std::as_const(m_buttons))
        b->setEnabled(!busy);
    if (busy)
        m_answer->setText(QStringLiteral("Attendere la risposta del registratore..."));
}

void TFChiusura::onFinished(const FiscalOutcome &outcome, const QString &text) {
    setBusy(false);
    // The answer stays in the window; a failure is also said in a box.
    m_answer->setText(QString(text).replace(u'\r', u'\n'));
    if (!outcome.confirmed())
        m_shop.prompter().error(text);
}

} // namespace corvale
