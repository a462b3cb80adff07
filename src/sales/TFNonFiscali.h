#pragma once

#include "sales/OfflineSales.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace corvale {

class Shop;

// "VENDITE NON FISCALIZZATE": the counter sales stored while the telematic
// register could not be reached (date, time, number, payment, total, state),
// for the emergency register of takings; printed through the print service;
// "Invia al registratore" sends the selected ones (or "Invia tutte" every
// one) to the register, which numbers them; "Registrata a mano" marks the
// selected ones as written in the emergency register. Opened (modal) from the
// sales archive and from the telematic register's window.
class TFNonFiscali : public QDialog {
    Q_OBJECT
public:
    static inline const QString noneSelectedText =
        QStringLiteral("Selezionare almeno una vendita dell'elenco.");
    static inline const QString nothingToPrintText =
        QStringLiteral("Nessuna vendita non fiscalizzata da stampare.");
    static inline const QString byHandQuestion = QStringLiteral(
        "Segnare come registrate a mano nel registro dei corrispettivi di emergenza le vendite "
        "selezionate (%1)?\rNon verranno più inviate al registratore.");

    explicit TFNonFiscali(Shop &shop, QWidget *parent = nullptr);
    ~TFNonFiscali() override;

    OfflineSales &sales() { return *m_sales; }
    QTableWidget &list() { return *m_list; }
    QString summaryText() const;

    // Reads the sales again.
    void reload();

    void BInviaClick();
    void BInviaTutteClick();
    void BAManoClick();
    void BStampaClick();

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    QList<qint64> selectedKeys() const;
    void setBusy(bool busy);
    void send(const QList<qint64> &keys);
    void sendingFinished(int sent, bool complete);

    Shop &m_shop;
    OfflineSales *m_sales;
    QList<OfflineSale> m_shown;
    QTableWidget *m_list;
    QCheckBox *m_byHand;
    QLabel *m_summary;
    QList<QPushButton *> m_buttons;
};

} // namespace corvale
