#pragma once

#include "purchasing/ContactCard.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvale {

class Shop;
class TitleBand;

// The contact card: creates or edits one supplier, or in customer mode one
// customer. The caller sets CustomerMode, NewRecord and (to edit) RecordCode,
// shows the card modally and reads SavedName (empty: nothing saved) and
// RecordCode afterwards.
class TFFornitore : public QDialog {
    Q_OBJECT
public:
    explicit TFFornitore(Shop &shop, QWidget *parent = nullptr);
    ~TFFornitore() override;

    bool CustomerMode = false;
    bool NewRecord = true;
    qint64 RecordCode = 0;
    QString SavedName;
    QString OldName;

    void BSalvaClick();
    void BAnnullaClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Field {
        const char *name;
        QLineEdit *edit;
    };

    void FormActivate();
    void loadRecord();
    void storeRecord();
    void updateSaveEnabled();

    Shop &m_shop;
    ContactCard m_card;
    TitleBand *m_band;
    QLineEdit *m_name;
    QLineEdit *m_address;
    QLineEdit *m_cap;
    QLineEdit *m_city;
    QLineEdit *m_phone;
    QLineEdit *m_mobile;
    QLineEdit *m_fax;
    QLineEdit *m_email;
    QLineEdit *m_vat;
    QLineEdit *m_cardNumber;
    QLineEdit *m_vatNumber;
    QLineEdit *m_fiscalCode;
    QLineEdit *m_recipientCode;
    QLineEdit *m_pec;
    QLineEdit *m_province;
    QLineEdit *m_country;
    QLabel *m_cardLabel;
    QPushButton *m_save;
    QPushButton *m_cancel;
};

} // namespace corvale
