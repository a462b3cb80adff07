#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace corvale {

// The colour x size entry behind the size panel: the twenty labels of the
// article's size type (a position without a label is hidden and counts 0), one
// quantity per position and the chosen colour. "Carica" turns the quantities
// into lines; what a panel shows beside the entry (stock, say) is not kept here.
class SizeEntry {
public:
    static constexpr int positions = 20;

    struct Line {
        int position = 0;
        double quantity = 0;
        QString label;
        QString barcode; // empty when no line barcode can be made
    };

    void setLabels(const QStringList &labels);
    QString label(int position) const;
    bool isVisible(int position) const;

    void clearQuantities();
    void setQuantity(int position, double quantity);
    double quantity(int position) const;
    double sum() const;

    void setColour(qint64 number, const QString &name);
    void clearColour();
    bool hasColour() const { return m_colourNumber > 0 || !m_colourName.isEmpty(); }
    qint64 colourNumber() const { return m_colourNumber; }
    QString colourName() const { return m_colourName; }
    // "Carica" is offered only with a colour chosen.
    bool canLoad() const { return hasColour(); }

    // The lines "Carica" writes, in position order, one per quantity above 0;
    // none when the quantities add up to 0 (the panel then stays open).
    QList<Line> lines(const QString &articleCode) const;

private:
    std::array<QString, positions> m_labels;
    std::array<double, positions> m_quantities{};
    qint64 m_colourNumber = 0;
    QString m_colourName;
};

} // namespace corvale
