#include "documents/SizeEntry.h"

#include "documents/LineBarcode.h"

namespace corvale {

void SizeEntry::setLabels(const QStringList &labels) {
    for (int i = 0; i < positions; ++i)
        m_labels[size_t(i)] = labels.value(i).trimmed();
}

QString SizeEntry::label(int position) const {
    if (position < 1 || position > positions)
        return {};
    return m_labels[size_t(position - 1)];
}

bool SizeEntry::isVisible(int position) const {
    return !label(position).isEmpty();
}

void SizeEntry::clearQuantities() {
    m_quantities.fill(0);
}

void SizeEntry::setQuantity(int position, double quantity) {
    if (position >= 1 && position <= positions)
        m_quantities[size_t(position - 1)] = quantity;
}

double SizeEntry::quantity(int position) const {
    if (!isVisible(position))
        return 0;
    return m_quantities[size_t(position - 1)];
}

double SizeEntry::sum() const {
    double total = 0;
    for (int p = 1; p <= positions; ++p)
        total += quantity(p);
    return total;
}

void SizeEntry::setColour(qint64 number, const QString &name) {
    m_colourNumber = number;
    m_colourName = name;
}

void SizeEntry::clearColour() {
    m_colourNumber = 0;
    m_colourName.clear();
}

QList<SizeEntry::Line> SizeEntry::lines(const QString &articleCode) const {
    QList<Line> out;
    if (sum() == 0)
        return out;
    for (int p = 1; p <= positions; ++p) {
        const double q = quantity(p);
        if (q > 0)
            out << Line{p, q, label(p),
                        lineBarcode(articleCode, m_colourNumber, p).value_or(QString())};
    }
    return out;
}

} // namespace corvale
