#pragma once

#include "sales/SaleVoid.h"

#include <QTableWidget>

class QDoubleSpinBox;

namespace corvale {

// The lines of a stored sale as a return or an exchange shows them: article,
// colour, size, pieces sold and already returned, and a box per line
// ("DaRendere0", "DaRendere1", …) with the pieces to take back, up to what is
// left. A line with nothing left cannot be chosen.
class ReturnLinesTable : public QTableWidget {
    Q_OBJECT
public:
    ReturnLinesTable(const QList<ReturnableLine> &lines, QWidget *parent = nullptr);

    // The lines with pieces chosen, by their row.
    QList<ReturnPick> picks() const;
    // Every piece left on every line ("Tutto").
    void takeAll();
    QList<QDoubleSpinBox *> boxes() const { return m_boxes; }

Q_SIGNALS:
    void picksChanged();

private:
    QList<QDoubleSpinBox *> m_boxes;
};

// How money goes back or comes in beside such a table: the names of the list
// and the tender of each row.
inline const QStringList tenderChoices{QStringLiteral("Contanti"), QStringLiteral("Elettronico"),
                                       QStringLiteral("Buono")};
PaymentType tenderChoice(int row);

} // namespace corvale
