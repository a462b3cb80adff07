#pragma once

#include "statistics/ChartPeriod.h"
#include "statistics/TakingsValues.h"

#include <QDialog>
#include <QImage>

class QComboBox;
class QLabel;
class QLineEdit;

namespace corvale {

class Shop;
class TrendBox;

// "GRAFICO VENDITE AL BANCO": the takings of the counter sales month by
// month over a year or day by day over a month, with the total and its
// printout. Modal; the sales archive sets the subtitle before showing it.
class TFIstogramma : public QDialog {
    Q_OBJECT
public:
    explicit TFIstogramma(Shop &shop, QWidget *parent = nullptr);

    // The line over the chart's period, e.g. "VENDITE AL BANCO".
    void setSubtitle(const QString &subtitle) { m_subtitle = subtitle; }
    QString subtitle() const { return m_subtitle; }

    // What the chart shows now.
    ChartPeriod period() const;
    const Takings &takings() const { return m_takings; }
    const QImage &chart() const { return m_chart; }

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void FormActivate();
    void Redraw();
    void BStampaClick();

    Shop &m_shop;
    QString m_subtitle;
    // Keeps the controls from redrawing while the window sets itself up or closes.
    bool m_busy = true;
    Takings m_takings;
    QImage m_chart;
    QLabel *m_area = nullptr;
    QLineEdit *m_total = nullptr;
    TrendBox *m_trend = nullptr;
    QComboBox *m_year = nullptr;
};

} // namespace corvale
