#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace corvale {

class Shop;

// "ACCONTO": enters or changes one payment to a supplier (or deposit from a
// customer) in ACCONTI. The caller sets PaymentKey (0: new), PartnerName,
// PartnerCode and IsCustomer, shows the dialog modally and reads Saved and
// PaymentKey afterwards. A new payment takes its number only when saved.
class TFAcconto : public QDialog {
    Q_OBJECT
public:
    explicit TFAcconto(Shop &shop, QWidget *parent = nullptr);

    qint64 PaymentKey = 0;
    QString PartnerName;
    QString PartnerCode;
    bool IsCustomer = false;
    bool Saved = false;

    void BSalvaClick();
    void BAnnullaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void updateSaveEnabled();

    Shop &m_shop;
    QLineEdit *m_comment;
    QLineEdit *m_date;
    QLineEdit *m_amount;
    QCheckBox *m_bank;
    QPushButton *m_save;
};

} // namespace corvale
