#pragma once

#include "catalogue/SizeCurve.h"
#include "stock/SizeRunWindow.h"

#include <QImage>

class QDateEdit;

namespace corvale {

// "CURVA TAGLIE": for one size type and the selection, the share of pieces
// sold per size over a period beside the share received, as a table and as
// a bar chart (one drawing for screen, image and printer).
class TFCurvaTaglie : public SizeRunWindow {
    Q_OBJECT
public:
    explicit TFCurvaTaglie(Shop &shop, QWidget *parent = nullptr);
    ~TFCurvaTaglie() override;

    const SizeCurve &curve() const { return m_curve; }
    const QImage &chart() const { return m_chart; }
    QDate from() const;
    QDate to() const;
    qint64 articleOfRow(int) const override { return 0; }
    void refresh() override;

    void BStampaClick();
    void BEsportaClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString periodText() const;

    LookupCombo *m_sizeType;
    std::unique_ptr<db::Table> m_sizeTypes;
    QDateEdit *m_from;
    QDateEdit *m_to;
    QLabel *m_chartArea;
    SizeCurve m_curve;
    QImage m_chart;
};

} // namespace corvale
