#include "purchasing/TFAcconto.h"

#include "db/Error.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "purchasing/PaymentColumns.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/TitleBand.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

namespace {

const QString &payments = paymentColumns::payments;
const QString &NUMREG = paymentColumns::key;
const QString &NUMCLI = paymentColumns::partyKey;
const QString &CLIENTE = paymentColumns::party;
const QString &ISCLIENTE = paymentColumns::fromCustomer;
const QString &COMMENTO = paymentColumns::comment;
const QString &ACCONTO = paymentColumns::amount;
const QString &DATA = paymentColumns::date;
const QString &MYDATA = paymentColumns::dateKey;
const QString &ISBANCA = paymentColumns::toBank;

} // namespace

TFAcconto::TFAcconto(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop) {
    setObjectName(QStringLiteral("TFAcconto"));
    setWindowTitle(QStringLiteral("Acconto"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    auto *band = new TitleBand(QStringLiteral("ACCONTO"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);
    auto *toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(8, 4, 8, 4);
    m_save = new QPushButton(QStringLiteral("Salva"), this);
    m_save->setObjectName(QStringLiteral("Salva"));
    auto *cancel = new QPushButton(QStringLiteral("Annulla"), this);
    cancel->setObjectName(QStringLiteral("Annulla"));
    toolbar->addWidget(m_save);
    toolbar->addWidget(cancel);
    toolbar->addStretch();
    layout->addLayout(toolbar);

    auto *form = new QFormLayout;
    form->setContentsMargins(8, 0, 8, 0);
    m_comment = new QLineEdit(this);
    m_comment->setObjectName(QStringLiteral("Descrizione"));
    m_comment->setMaxLength(50);
    m_date = new QLineEdit(this);
    m_date->setObjectName(QStringLiteral("Data"));
    m_date->setMaxLength(10);
    m_amount = new QLineEdit(this);
    m_amount->setObjectName(QStringLiteral("Acconto"));
    m_bank = new QCheckBox(this);
    m_bank->setObjectName(QStringLiteral("Banca"));
    form->addRow(QStringLiteral("Descrizione "), m_comment);
    form->addRow(QStringLiteral("Data"), m_date);
    form->addRow(QStringLiteral("Acconto"), m_amount);
    form->addRow(QString(), m_bank);
    layout->addLayout(form);

    connect(m_save, &QPushButton::clicked, this, &TFAcconto::BSalvaClick);
    connect(cancel, &QPushButton::clicked, this, &TFAcconto::BAnnullaClick);
    connect(m_comment, &QLineEdit::textChanged, this, &TFAcconto::updateSaveEnabled);
    connect(m_amount, &QLineEdit::textChanged, this, &TFAcconto::updateSaveEnabled);
    connect(m_comment, &QLineEdit::returnPressed, m_date, qOverload<>(&QWidget::setFocus));
    connect(m_date, &QLineEdit::returnPressed, m_amount, qOverload<>(&QWidget::setFocus));
    connect(m_amount, &QLineEdit::returnPressed, m_comment, qOverload<>(&QWidget::setFocus));
    FocusHighlighter::install(this);
}

void TFAcconto::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFAcconto::FormActivate() {
    m_bank->setText(IsCustomer ? QStringLiteral("Versamento in banca")
                               : QStringLiteral("Prelievo dalla banca"));
    Saved = false;
    m_comment->setText(QStringLiteral("Contanti"));
    m_date->setText(Formats::formatDate(m_shop.clock().today()));
    m_amount->clear();
    m_bank->setChecked(false);
    if (PaymentKey != 0) {
        runReportingEngineErrors(m_shop.prompter(), [&] {
            db::Table t(m_shop.database());
            t.setTableName(payments);
            t.setIndexName(NUMREG);
            t.open();
            if (!t.findKey(PaymentKey)) {
                m_shop.prompter().error(QStringLiteral("Acconto non trovato!"));
                return;
            }
            m_comment->setText(t.asString(COMMENTO));
            m_date->setText(t.asString(DATA));
            m_amount->setText(t.isNull(ACCONTO)
                                  ? QString()
                                  : Formats::format(u"%.2f", t.asFloat(ACCONTO)).trimmed());
            m_bank->setChecked(t.asBool(ISBANCA));
        });
    }
    updateSaveEnabled();
    m_comment->setFocus();
}

void TFAcconto::updateSaveEnabled() {
    m_save->setEnabled(!m_comment->text().trimmed().isEmpty() &&
                       !m_amount->text().trimmed().isEmpty());
}

void TFAcconto::BSalvaClick() {
    const auto date = Formats::parseDate(m_date->text());
    if (!date) {
        m_shop.prompter().error(QStringLiteral("La data non è valida!"));
        m_date->setFocus();
        return;
    }
    const auto amount = Formats::parseNumber(m_amount->text());
    if (!amount) {
        m_shop.prompter().error(QStringLiteral("L'importo non è valido!"));
        m_amount->setFocus();
        return;
    }
    const QString dateText = Formats::formatDate(*date);
    const bool saved = runReportingEngineErrors(m_shop.prompter(), [&] {
        db::Table t(m_shop.database());
        t.setTableName(payments);
        t.setIndexName(NUMREG);
        t.open();
        if (PaymentKey != 0) {
            if (!t.findKey(PaymentKey))
                throw db::Error(QStringLiteral("Acconto non trovato!"));
            t.edit();
        } else {
            t.append();
            t.setString(NUMCLI, PartnerCode);
            t.setString(CLIENTE, PartnerName);
            t.setBool(ISCLIENTE, IsCustomer);
        }
        t.setString(COMMENTO, m_comment->text().trimmed());
        t.setString(DATA, dateText);
        t.setString(MYDATA, CommonRoutines::DateKey(dateText));
        t.setFloat(ACCONTO, *amount);
        t.setBool(ISBANCA, m_bank->isChecked());
        // The number is taken last, so that a refused record uses none.
        const qint64 key =
            PaymentKey != 0 ? PaymentKey : m_shop.routines().NextCounter(payments, true);
        t.setInteger(NUMREG, key);
        t.post();
        PaymentKey = key;
    });
    if (!saved)
        return;
    Saved = true;
    accept();
}

void TFAcconto::BAnnullaClick() {
    Saved = false;
    reject();
}

} // namespace corvale
