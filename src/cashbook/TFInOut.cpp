#include "cashbook/TFInOut.h"

#include "platform/Formats.h"
#include "shell/Shop.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/TitleBand.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvale {

TFInOut::TFInOut(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop) {
    setObjectName(QStringLiteral("TFInOut"));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    m_band = new TitleBand(QString(), this);
    m_band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    top->addWidget(m_band, 1);
    m_save = new QPushButton(QStringLiteral("&Salva"), this);
    m_save->setObjectName(QStringLiteral("Salva"));
    auto *cancel = new QPushButton(QStringLiteral("&Annulla"), this);
    cancel->setObjectName(QStringLiteral("Annulla"));
    top->addWidget(m_save);
    top->addWidget(cancel);
    layout->addLayout(top);

    auto *form = new QFormLayout;
    m_date = new QLineEdit(this);
    m_date->setObjectName(QStringLiteral("Data"));
    m_amount = new QLineEdit(this);
    m_amount->setObjectName(QStringLiteral("Importo"));
    m_amount->setAlignment(Qt::AlignRight);
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("Descrizione"));
    m_description->setMaxLength(50);
    form->addRow(QStringLiteral("Data"), m_date);
    form->addRow(QStringLiteral("Importo"), m_amount);
    form->addRow(QStringLiteral("Descrizione"), m_description);
    layout->addLayout(form);
    FocusHighlighter::install(this);

    connect(m_save, &QPushButton::clicked, this, &TFInOut::BSalvaClick);
    connect(cancel, &QPushButton::clicked, this, &TFInOut::BAnnullaClick);
    connect(m_description, &QLineEdit::textChanged, this, &TFInOut::descriptionChanged);
    m_save->setEnabled(false);
}

void TFInOut::setTitle(const QString &title) {
    setWindowTitle(title);
    m_band->setHeading(title);
}

void TFInOut::presetEntry(const BookMovements::Entry &entry) {
    m_preset = entry;
}

BookMovements::Entry TFInOut::entry() const {
    return {m_date->text(), m_description->text(),
            Formats::parseNumber(m_amount->text()).value_or(0)};
}

void TFInOut::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    const BookMovements::Entry entry = m_preset.value_or(
        BookMovements::Entry{Formats::formatDate(m_shop.clock().today()), QString(), 0});
    m_preset.reset();
    m_date->setText(entry.dateText);
    m_amount->setText(entry.amount == 0 ? QStringLiteral("0")
                                        : Formats::display(u",0.00", entry.amount));
    m_description->setText(entry.description);
    descriptionChanged();
    m_description->setFocus();
}

void TFInOut::descriptionChanged() {
    m_save->setEnabled(!m_description->text().isEmpty());
}

void TFInOut::BSalvaClick() {
    if (!Formats::parseDate(m_date->text())) {
        m_shop.prompter().error(QStringLiteral("Data non valida!"));
        m_date->setFocus();
        return;
    }
    const auto amount = Formats::parseNumber(m_amount->text());
    if (!amount || *amount < 0) {
        m_shop.prompter().error(QStringLiteral("Importo non valido!"));
        m_amount->setFocus();
        return;
    }
    accept();
}

void TFInOut::BAnnullaClick() {
    m_description->clear();
    reject();
}

} // namespace corvale
