#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace corvale {

class DailyClosure;
struct FiscalOutcome;
class Shop;

// "REGISTRATORE TELEMATICO": the daily closure (Z), the daily reading (X) and
// the state of the telematic register, with the register's answer, and the
// sales stored without it still waiting ("Non fiscalizzate"). Opened from the
// main window behind the password, like the Prima nota.
class TFChiusura : public QDialog {
    Q_OBJECT
public:
    static inline const QString confirmZText =
        QStringLiteral("Eseguire la chiusura giornaliera del registratore telematico?\rDopo la "
                       "chiusura gli scontrini del giorno non si possono più annullare.");
    // Said before the closure while sales stored without the register wait.
    static inline const QString waitingBeforeZText = QStringLiteral(
        "Attenzione: %1 vendite non fiscalizzate attendono di essere inviate al registratore o "
        "registrate a mano (\"Non fiscalizzate\").\r\r");

    explicit TFChiusura(Shop &shop, QWidget *parent = nullptr);
    ~TFChiusura() override;

    DailyClosure &closure() { return *m_closure; }
    QString answerText() const;

    void BChiusuraClick();
    void BLetturaClick();
    void BStatoClick();
    // "Non fiscalizzate": the sales stored without the register.
    void BNonFiscalizzateClick();
    // What the window says of the sales waiting for the register.
    QString waitingText() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setBusy(bool busy);
    void onFinished(const FiscalOutcome &outcome, const QString &text);
    // Counts the sales waiting for the register again; -1 when unreadable.
    int showWaiting();

    Shop &m_shop;
    DailyClosure *m_closure;
    QLabel *m_answer;
    QLabel *m_waiting;
    QList<QPushButton *> m_buttons;
};

} // namespace corvale
