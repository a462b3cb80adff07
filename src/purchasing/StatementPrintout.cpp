#include "purchasing/StatementPrintout.h"

#include "documents/DocumentPrintout.h"
#include "platform/Formats.h"
#include "platform/Money.h"
#include "printing/PageCanvas.h"

#include <algorithm>

namespace corvale {

using namespace documentprint;

namespace {

QString money(double v) {
    return Formats::format(u"%10.2n", v).trimmed();
}

} // namespace

void StatementPrintout::settle(const QString &fromKey) {
    QList<Movement> kept;
    for (const Movement &m : std::as_const(movements)) {
        if (m.key < fromKey) {
            debitBefore += m.debit;
            creditBefore += m.credit;
        } else {
            kept << m;
        }
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const Movement &a, const Movement &b) { return a.key < b.key; });
    movements = kept;
}

double StatementPrintout::finalBalance() const {
    double balance = debitBefore - creditBefore;
    for (const Movement &m : movements)
        balance += m.debit - m.credit;
    return balance;
}

void StatementPrintout::draw(PageCanvas &canvas) const {
    const int W = canvas.pageWidth();
    const int H = canvas.pageHeight();
    const int x0 = 50;
    const int B = (H / 100) * 97;
    const int u = (W - 100) / 17;
    const int q = (W - 100) / 68;
    const QList<int> widths = {8 * u, u + q, 2 * u - q, 2 * u, 2 * u, 2 * u};
    const QStringList captions = {QStringLiteral("Descrizione"), QStringLiteral("Num. Doc."),
                                  QStringLiteral("Data"),        QStringLiteral("Dare"),
                                  QStringLiteral("Avere"),       QStringLiteral("Saldo")};
    QList<int> lefts;
    int x = x0;
    for (int w : widths) {
        lefts << x;
        x += w;
    }
    lefts << x;
    const auto right = [&](int column) { return lefts[column + 1]; };

    canvas.setBrushClear();
    canvas.setPen(Qt::black, 1);
    int h = useFont(canvas, 10, true);
    const int centre = (W - 100) / 2;
    const auto centred = [&](int y, const QString &text) {
        canvas.textOutCentred(centre, y, text);
    };
    int y = 100;
    centred(y, nameLine1);
    y += h;
    centred(y, nameLine2);
    y += h + h / 2;
    h = useFont(canvas, 10);
    centred(y, QStringLiteral("- LISTA MOVIMENTI -"));
    y += 3 * h / 2;
    centred(y, QStringLiteral("Fornitore: ") + supplier);
    y += 2 * h;

    const auto header = [&](int &y) {
        const int h7 = useFont(canvas, 7);
        for (qsizetype i = 0; i < captions.size(); ++i) {
            canvas.rectangle(lefts[i], y - 10, lefts[i + 1], y + h7 + 10);
            canvas.textOut(lefts[i] + 10, y, captions[i]);
        }
        y += h7 + 30;
        useFont(canvas, 10);
    };
    header(y);

    double balance = debitBefore - creditBefore;
    canvas.textOut(x0 + 10, y, QStringLiteral("SITUAZIONE PRIMA DEL ") + fromText);
    rightText(canvas, right(3), y, money(debitBefore));
    rightText(canvas, right(4), y, money(creditBefore));
    rightText(canvas, right(5), y, money(balance));
    y += 20;
    for (const Movement &m : movements) {
        y += h;
        canvas.moveTo(x0, y);
        canvas.lineTo(lefts.last(), y);
        y += 7;
        canvas.textOut(x0 + 10, y, m.description);
        rightText(canvas, right(1), y, m.number);
        rightText(canvas, right(2), y, m.date);
        if (m.debit != 0)
            rightText(canvas, right(3), y, money(m.debit));
        if (m.credit != 0)
            rightText(canvas, right(4), y, money(m.credit));
        balance += m.debit - m.credit;
        // A running balance that comes to nothing at the cent prints nothing.
        if (!Money::of(balance).isZero())
            rightText(canvas, right(5), y, money(balance));
        if (y + h >= B - 5) {
            canvas.newPage();
            y = 150;
            header(y);
        }
    }
    y += h;
    canvas.moveTo(x0, y);
    canvas.lineTo(lefts.last(), y);
    y += h;
    canvas.textOut(x0 + 10, y, QStringLiteral("SALDO AL ") + todayText);
    useFont(canvas, 10, true);
    rightText(canvas, right(0), y, money(balance));
    useFont(canvas, 10);
}

} // namespace corvale
