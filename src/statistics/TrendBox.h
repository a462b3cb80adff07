#pragma once

#include "statistics/ChartPeriod.h"

#include <QGroupBox>

class QComboBox;
class QRadioButton;

namespace corvale {

// The charts' "Andamento" box: "Annuale" or "Mensile", and the month the
// monthly chart shows. The month list is greyed or hidden while the chart is
// yearly, as the window wants it.
class TrendBox : public QGroupBox {
    Q_OBJECT
public:
    enum class IdleMonth { Greyed, Hidden };

    TrendBox(IdleMonth idle, QWidget *parent);

    ChartMode mode() const;
    // 1..12.
    int month() const;
    // Back to the yearly chart with `month` ready for the monthly one, without
    // a change signal.
    void reset(int month);

Q_SIGNALS:
    // The mode or the month was changed by the user.
    void changed();

private:
    void showMonth();

    const IdleMonth m_idle;
    QRadioButton *m_yearly;
    QRadioButton *m_monthly;
    QComboBox *m_month;
};

} // namespace corvale
