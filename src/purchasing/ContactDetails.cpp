#include "purchasing/ContactDetails.h"

#include "catalogue/ContactColumns.h"
#include "db/Table.h"

#include <QFormLayout>
#include <QLabel>

namespace corvale {

namespace c = contactColumns;

ContactDetails::ContactDetails(const QString &background, QWidget *parent)
    : CaptionBox(QStringLiteral("Dati"), parent) {
    setBackground(background);
    auto *form = new QFormLayout(this);
    auto detail = [&](const QString &caption, const QString &name) {
        auto *l = new QLabel(this);
        l->setObjectName(name);
        l->setTextFormat(Qt::PlainText);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        form->addRow(caption, l);
        return l;
    };
    m_address = detail(QStringLiteral("Via/P.zza"), QStringLiteral("ViaPzza"));
    m_cap = detail(QStringLiteral("C.A.P."), QStringLiteral("CAP"));
    m_city = detail(QStringLiteral("Città"), QStringLiteral("Citta"));
    m_vat = detail(QStringLiteral("P.Iva"), QStringLiteral("PIva"));
    m_phone = detail(QStringLiteral("Telefono"), QStringLiteral("Telefono"));
    m_mobile = detail(QStringLiteral("Cellulare"), QStringLiteral("Cellulare"));
    m_fax = detail(QStringLiteral("Fax"), QStringLiteral("Fax"));
    m_email = detail(QStringLiteral("E-Mail"), QStringLiteral("EMail"));
}

void ContactDetails::show(const db::Table *contact) {
    auto text = [&](const QString &field) {
        return contact ? contact->asString(field) : QString();
    };
    m_address->setText(text(c::address));
    // The post code is a number: "00184" is stored as 184.
    m_cap->setText(
        contact && !contact->isNull(c::cap)
            ? QStringLiteral("%1").arg(contact->asInteger(c::cap), 5, 10, QLatin1Char('0'))
            : QString());
    m_city->setText(text(c::city));
    m_vat->setText(text(c::vatOrFiscalCode));
    m_phone->setText(text(c::phone));
    m_mobile->setText(text(c::mobile));
    m_fax->setText(text(c::fax));
    m_email->setText(text(c::email));
}

} // namespace corvale
