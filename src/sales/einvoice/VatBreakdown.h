#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace corvale {

// One line of an invoice as the program keeps it: prices include VAT.
struct VatLine {
    double quantity = 0; // may be fractional or negative (a credit note)
    double price = 0;    // unit price, VAT included
    double discount = 0; // percent; negative: a surcharge
    int rate = 0;        // VAT rate in hundredths of a percent: 2200 is 22 %
    QString nature;      // for a line at 0 %: N1..N7
};

// The VAT of one rate (or nature), in cents.
struct VatSummary {
    int rate = 0; // hundredths of a percent
    QString nature;
    QString reference; // the law a nature rests on
    qint64 taxable = 0;
    qint64 tax = 0;
};

// Turns an invoice whose prices include VAT into what the electronic invoice
// and the printed one state, in whole cents and without floating point sums:
// each line's amount net of VAT with a unit price of up to 8 decimals, and per
// rate the taxable amount and the tax, such that
//   - a line's net amount is its quantity times its unit price less its discount
//     (to the cent, as the exchange system checks it);
//   - a rate's taxable amount is the sum of its lines' net amounts, exactly;
//   - its tax is the taxable amount at the rate, within the cent the exchange
//     system tolerates;
//   - taxable amounts and taxes add up to the invoice's total, exactly.
// The total is the one stored with the invoice: the lines' own rounding may
// leave a cent or two against it, which goes to the largest line.
class VatBreakdown {
public:
    struct LineAmounts {
        qint64 gross = 0;     // cents, VAT included
        qint64 net = 0;       // cents: PrezzoTotale
        qint64 unitPrice = 0; // 1e-8: PrezzoUnitario, for the quantity without its sign
        qint64 quantity = 0;  // thousandths, without the sign
        int discount = 0;     // hundredths of a percent, as stored
    };

    // `total` in cents. Nothing, with *error in the shop's words, when the
    // lines cannot make that total (a total not saved with its lines).
    static std::optional<VatBreakdown> compute(const QList<VatLine> &lines, qint64 total,
                                               QString *error = nullptr);

    const QList<LineAmounts> &lines() const { return m_lines; }
    const QList<VatSummary> &summaries() const { return m_summaries; }
    qint64 taxable() const;
    qint64 tax() const;
    qint64 total() const { return taxable() + tax(); }

    // The tax the rules expect of `taxable` at `rate` (half away from zero).
    static qint64 taxOf(qint64 taxable, int rate);
    // The net amount a unit price, quantity and discount make, in cents.
    static qint64 lineNet(qint64 unitPrice, qint64 quantity, int discount);
    // A line's amount VAT included, in cents (half away from zero).
    static qint64 grossOf(const VatLine &line);
    static qint64 cents(double value);

private:
    QList<LineAmounts> m_lines;
    QList<VatSummary> m_summaries;
};

} // namespace corvale
