#pragma once

#include <QList>
#include <QString>

namespace corvale {

class PageCanvas;

// The printed statement of one supplier from a date: the balance before it
// ("SITUAZIONE PRIMA DEL"), each later document and payment in date order
// with the running balance, and the final balance ("SALDO AL").
struct StatementPrintout {
    struct Movement {
        QString key; // MYDATA
        QString date;
        QString number;
        QString description;
        double debit = 0;  // documents
        double credit = 0; // payments
    };

    QString nameLine1;
    QString nameLine2;
    QString supplier;
    QString fromText; // the date as typed
    QString todayText;
    double debitBefore = 0;
    double creditBefore = 0;
    QList<Movement> movements;

    // Splits `movements` by `fromKey`: earlier ones go into the sums before.
    void settle(const QString &fromKey);
    double finalBalance() const;
    void draw(PageCanvas &canvas) const;
};

} // namespace corvale
