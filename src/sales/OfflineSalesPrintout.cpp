#include "sales/OfflineSalesPrintout.h"

#include "documents/DocumentPrintout.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"

#include <array>

namespace corvale {

using documentprint::rightText;
using documentprint::useFont;

namespace {

QString euros(Money m) {
    return Formats::format(u"%10.2n", m.toDouble()).trimmed();
}

} // namespace

void OfflineSalesPrintout::draw(PageCanvas &canvas) const {
    const int PW = canvas.pageWidth();
    const int bottom = canvas.pageHeight() * 97 / 100;
    const int x0 = 100;
    const int u = (PW - 2 * x0) / 16;
    // Left edges of date, time and number; right edges of the amounts; the
    // state last.
    const int date = x0, time = x0 + 2 * u, number = x0 + 4 * u;
    const std::array<int, 4> amounts{x0 + 7 * u, x0 + 9 * u, x0 + 11 * u, x0 + 13 * u};
    const int state = x0 + 13 * u + u / 2;
    const int end = PW - x0;
    canvas.setBrushClear();
    canvas.setPen(Qt::black, 1);
    auto centred = [&](int y, const QString &text) { canvas.textOutCentred(PW / 2, y, text); };

    int y = 70;
    const int h = documentprint::nameLines(canvas, PW / 2, y, nameLine1, nameLine2);
    y += 3 * h;
    useFont(canvas, 10);
    centred(y, title);
    y += 2 * h;

    int page = 1;
    auto columnHeader = [&] {
        const int h8 = documentprint::useItalic(canvas, 8);
        canvas.textOut(date + 10, y, QStringLiteral("Data"));
        canvas.textOut(time + 10, y, QStringLiteral("Ora"));
        canvas.textOut(number + 10, y, QStringLiteral("Numero"));
        const QStringList captions{QStringLiteral("Contanti"), QStringLiteral("Elettronico"),
                                   QStringLiteral("Buono"), QStringLiteral("Totale")};
        for (int i = 0; i < 4; ++i)
            rightText(canvas, amounts[size_t(i)], y, captions[i]);
        canvas.textOut(state, y, QStringLiteral("Stato"));
        y += h8 + 5;
        canvas.moveTo(x0, y);
        canvas.lineTo(end, y);
        y += 10;
        centred(bottom + h8, QStringLiteral("- %1 -").arg(page));
        useFont(canvas, 9);
    };
    columnHeader();
    const int hRow = canvas.textHeight(QStringLiteral("X"));
    std::array<Money, 4> sums{};
    for (const OfflineSale &sale : sales) {
        if (y + hRow >= bottom) {
            canvas.newPage();
            ++page;
            y = 70;
            columnHeader();
        }
        canvas.textOut(date + 10, y, Formats::formatDate(sale.date));
        canvas.textOut(time + 10, y, sale.time.left(5));
        canvas.textOut(number + 10, y, QString::number(sale.number));
        const std::array<Money, 4> values{sale.cash, sale.card, sale.voucher, sale.total};
        for (size_t i = 0; i < values.size(); ++i) {
            rightText(canvas, amounts[i], y, euros(values[i]));
            sums[i] += values[i];
        }
        canvas.textOut(state, y, saleFiscalStateText(sale.state));
        y += hRow;
        canvas.moveTo(x0, y);
        canvas.lineTo(end, y);
        y += 7;
    }
    y += hRow + hRow / 2;
    useFont(canvas, 10, true);
    canvas.textOut(date + 10, y, QStringLiteral("TOTALE (%1 vendite)").arg(sales.size()));
    for (size_t i = 0; i < sums.size(); ++i)
        rightText(canvas, amounts[i], y, euros(sums[i]));
}

} // namespace corvale
