#include "sales/einvoice/VatBreakdown.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace corvale {

namespace {

using Wide = __int128;

// a / b rounded half away from zero; b > 0.
Wide roundDiv(Wide a, Wide b) {
    const Wide half = b / 2;
    return a >= 0 ? (a + half) / b : -((-a + half) / b);
}

qint64 scaled(double value, double scale) {
    return std::llround(value * scale);
}

constexpr int fullDiscount = 10000; // 100 % in hundredths of a percent

} // namespace

qint64 VatBreakdown::cents(double value) {
    return scaled(value, 100);
}

qint64 VatBreakdown::taxOf(qint64 taxable, int rate) {
    return qint64(roundDiv(Wide(taxable) * rate, 10000));
}

qint64 VatBreakdown::lineNet(qint64 unitPrice, qint64 quantity, int discount) {
    // 1e-8 x 1e-3 x 1e-4 = 1e-15; cents are 1e-2.
    return qint64(
        roundDiv(Wide(unitPrice) * quantity * (fullDiscount - discount), Wide(10000000) * 1000000));
}

qint64 VatBreakdown::grossOf(const VatLine &line) {
    const qint64 q = scaled(line.quantity, 1000);
    const qint64 p = scaled(line.price, 100000);
    const qint64 s = scaled(line.discount, 100);
    // 1e-3 x 1e-5 x 1e-4 = 1e-12; cents are 1e-2.
    return qint64(roundDiv(Wide(q) * p * (fullDiscount - s), Wide(10000000000LL)));
}

qint64 VatBreakdown::taxable() const {
    qint64 sum = 0;
    for (const VatSummary &s : m_summaries)
        sum += s.taxable;
    return sum;
}

qint64 VatBreakdown::tax() const {
    qint64 sum = 0;
    for (const VatSummary &s : m_summaries)
        sum += s.tax;
    return sum;
}

std::optional<VatBreakdown> VatBreakdown::compute(const QList<VatLine> &lines, qint64 total,
                                                  QString *error) {
    auto fail = [&](const QString &text) -> std::optional<VatBreakdown> {
        if (error)
            *error = text;
        return std::nullopt;
    };
    VatBreakdown out;
    QList<bool> priced; // lines whose net amount may be non-zero
    qint64 grossSum = 0;
    for (const VatLine &line : lines) {
        LineAmounts a;
        const qint64 q = scaled(line.quantity, 1000);
        a.quantity = q < 0 ? -q : q;
        a.discount = int(scaled(line.discount, 100));
        if (a.discount > fullDiscount)
            return fail(QStringLiteral("Uno sconto di riga supera il 100%: correggere la riga."));
        if (line.rate < 0 || line.rate >= 100000)
            return fail(QStringLiteral("Aliquota IVA non valida in una riga."));
        a.gross = grossOf(line);
        grossSum += a.gross;
        priced << (a.quantity != 0 && a.discount < fullDiscount);
        out.m_lines << a;
    }

    // The stored total against its lines: each line rounds by half a cent at
    // most; anything more is a total that does not belong to these lines.
    const qint64 residual = total - grossSum;
    if (residual != 0) {
        const qint64 allowed = qint64(lines.size()) / 2 + 1;
        qsizetype largest = -1;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (priced[i] && (largest < 0 || std::llabs(out.m_lines[i].gross) >
                                                 std::llabs(out.m_lines[largest].gross)))
                largest = i;
        }
        if (std::llabs(residual) > allowed || largest < 0)
            return fail(QStringLiteral("Il totale della fattura non corrisponde alle sue righe: "
                                       "aprire la fattura e salvarla di nuovo."));
        out.m_lines[largest].gross += residual;
    }

    // Groups by rate and nature, in the order they first appear.
    struct Group {
        int rate;
        QString nature;
        QList<qsizetype> members;
        qint64 gross = 0;
    };
    QList<Group> groups;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int rate = lines[i].rate;
        const QString nature = rate == 0 ? lines[i].nature : QString();
        auto it = std::find_if(groups.begin(), groups.end(), [&](const Group &g) {
            return g.rate == rate && g.nature == nature;
        });
        if (it == groups.end()) {
            groups << Group{rate, nature, {}, 0};
            it = groups.end() - 1;
        }
        it->members << i;
        it->gross += out.m_lines[i].gross;
    }

    for (const Group &g : groups) {
        const int r = g.rate;
        // The taxable amount whose tax makes the group's gross exactly; where
        // the rounding of the tax skips that gross, the tax takes the cent
        // (the exchange system allows a cent on the tax).
        qint64 taxable = qint64(roundDiv(Wide(g.gross) * 10000, 10000 + r));
        qint64 tax = 0;
        bool found = false;
        for (int d : {0, -1, 1, -2, 2, -3, 3}) {
            const qint64 t = taxable + d;
            if (t + taxOf(t, r) == g.gross) {
                taxable = t;
                found = true;
                break;
            }
        }
        if (!found) {
            const qint64 step = g.gross >= 0 ? 1 : -1;
            for (int d : {0, -1, 1, -2, 2, -3, 3}) {
                const qint64 t = taxable + d;
                if (t + taxOf(t, r) == g.gross - step) {
                    taxable = t;
                    found = true;
                    break;
                }
            }
        }
        if (!found)
            return fail(QStringLiteral("Impossibile ripartire l'IVA al %1%.").arg(r / 100.0));
        tax = g.gross - taxable;

        // The lines' net amounts, each near its own share, then the cents the
        // group's taxable amount still needs, one per line from the largest.
        qint64 netSum = 0;
        QList<qsizetype> order;
        for (qsizetype i : g.members) {
            LineAmounts &a = out.m_lines[i];
            a.net = priced[i] ? qint64(roundDiv(Wide(a.gross) * 10000, 10000 + r)) : 0;
            netSum += a.net;
            if (priced[i])
                order << i;
        }
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return std::llabs(out.m_lines[a].gross) > std::llabs(out.m_lines[b].gross);
        });
        qint64 left = taxable - netSum;
        if (left != 0 && order.isEmpty())
            return fail(QStringLiteral("Impossibile ripartire l'IVA al %1%.").arg(r / 100.0));
        for (qsizetype k = 0; left != 0; k = (k + 1) % order.size()) {
            const qint64 step = left > 0 ? 1 : -1;
            out.m_lines[order[k]].net += step;
            left -= step;
        }

        for (qsizetype i : g.members) {
            LineAmounts &a = out.m_lines[i];
            if (priced[i]) {
                // The quantity is written without its sign: the price carries it.
                a.unitPrice = qint64(roundDiv(Wide(a.net) * Wide(10000000000000LL),
                                              Wide(a.quantity) * (fullDiscount - a.discount)));
            } else {
                // Nothing to sum: the price net of VAT, for the record.
                const qint64 p = scaled(lines[i].price, 100000);
                a.unitPrice = qint64(roundDiv(Wide(p) * 1000 * 10000, 10000 + r));
            }
        }
        out.m_summaries << VatSummary{r, g.nature, {}, taxable, tax};
    }
    return out;
}

} // namespace corvale
