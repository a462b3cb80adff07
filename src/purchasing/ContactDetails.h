#pragma once

#include "widgets/CaptionBox.h"

class QLabel;

namespace corvale {

namespace db {
class Table;
}

// The "Dati" box of the supplier and customer archives: address, post code,
// town, VAT number, telephones and e-mail of the contact a list stands on.
class ContactDetails : public CaptionBox {
    Q_OBJECT
public:
    explicit ContactDetails(const QString &background, QWidget *parent = nullptr);

    // Shows `contact`'s current record, or empty boxes when there is none.
    void show(const db::Table *contact);

private:
    QLabel *m_address;
    QLabel *m_cap;
    QLabel *m_city;
    QLabel *m_vat;
    QLabel *m_phone;
    QLabel *m_mobile;
    QLabel *m_fax;
    QLabel *m_email;
};

} // namespace corvale
