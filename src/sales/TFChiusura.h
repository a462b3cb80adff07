#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace corvale {

class DailyClosure;
struct FiscalOutcome;
class Shop;

// "REGISTRATORE TELEMATICO": the daily closure (Z), the daily reading (X) and
// the state of the telematic register, with the register's answer. Opened
// from the main window behind the password, like the Prima nota.
class TFChiusura : public QDialog {
    Q_OBJECT
public:
    static inline const QString confirmZText =
        QStringLiteral("Eseguire la chiusura giornaliera del registratore telematico?\rDopo la "
                       "chiusura gli scontrini del giorno non si possono più annullare.");

    explicit TFChiusura(Shop &shop, QWidget *parent = nullptr);
    ~TFChiusura() override;

    DailyClosure &closure() { return *m_closure; }
    QString answerText() const;

    void BChiusuraClick();
    void BLetturaClick();
    void BStatoClick();

private:
    void setBusy(bool busy);
    void onFinished(const FiscalOutcome &outcome, const QString &text);

    Shop &m_shop;
    DailyClosure *m_closure;
    QLabel *m_answer;
    QList<QPushButton *> m_buttons;
};

} // namespace corvale
