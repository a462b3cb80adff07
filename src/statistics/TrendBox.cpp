#include "statistics/TrendBox.h"

#include "statistics/ChartTexts.h"

#include <QComboBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace corvale {

TrendBox::TrendBox(IdleMonth idle, QWidget *parent)
    : QGroupBox(QStringLiteral("Andamento"), parent)
    , m_idle(idle) {
    setObjectName(QStringLiteral("Andamento"));
    auto *layout = new QVBoxLayout(this);
    m_yearly = new QRadioButton(QStringLiteral("Annuale"), this);
    m_yearly->setObjectName(QStringLiteral("Annuale"));
    m_monthly = new QRadioButton(QStringLiteral("Mensile"), this);
    m_monthly->setObjectName(QStringLiteral("Mensile"));
    m_yearly->setChecked(true);
    layout->addWidget(m_yearly);
    layout->addWidget(m_monthly);
    m_month = new QComboBox(this);
    m_month->setObjectName(QStringLiteral("Mese"));
    for (int month = 1; month <= 12; ++month)
        m_month->addItem(chartTexts::monthName(month));
    layout->addWidget(m_month);
    showMonth();

    connect(m_yearly, &QRadioButton::toggled, this, [this] {
        showMonth();
        Q_EMIT changed();
    });
    connect(m_month, &QComboBox::currentIndexChanged, this, &TrendBox::changed);
}

ChartMode TrendBox::mode() const {
    return m_monthly->isChecked() ? ChartMode::Monthly : ChartMode::Yearly;
}

int TrendBox::month() const {
    return m_month->currentIndex() + 1;
}

void TrendBox::reset(int month) {
    const QSignalBlocker blockYearly(m_yearly);
    const QSignalBlocker blockMonth(m_month);
    m_yearly->setChecked(true);
    m_month->setCurrentIndex(month - 1);
    showMonth();
}

void TrendBox::showMonth() {
    const bool monthly = m_monthly->isChecked();
    if (m_idle == IdleMonth::Greyed)
        m_month->setEnabled(monthly);
    else
        m_month->setVisible(monthly);
}

} // namespace corvale
