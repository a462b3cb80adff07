#include "sales/SalePrintout.h"

#include "sales/SaleReductions.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/SalePrices.h"
#include "db/Table.h"
#include "documents/DocumentPrintout.h"
#include "documents/SheetColumns.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"

#include <cmath>

namespace corvale {

using namespace documentprint;

void SalePrintout::readShop(db::Database &database) {
    db::Table config(database);
    config.setTableName(QStringLiteral("CONFIG"));
    config.open();
    config.first();
    if (!config.eof()) {
        auto text = [&](const char *field) {
            return config.asString(QString::fromLatin1(field)).trimmed();
        };
        name = text("RAGIONE");
        name2 = text("RAGION2");
        address = text("ADDRESS") + QStringLiteral(" ") + text("CITTA");
        vatLine = QStringLiteral("P.IVA ") + text("PIVA");
        phoneLine.clear();
        if (!text("TEL").isEmpty())
            phoneLine = QStringLiteral("Tel ") + text("TEL");
        if (!text("FAX").isEmpty())
            phoneLine += QStringLiteral(" Fax ") + text("FAX");
    }
    config.close();
}

QStringList SalePrintout::reductionsOf(db::Database &database, const QList<SheetRow> &rows,
                                       QDate day) {
    QStringList out;
    for (const auto &reduction : SaleReductions::of(database, rows, day))
        out << (reduction ? reduction->reductionText() : QString());
    return out;
}

QString SalePrintout::percentText(double value) {
    if (value == 0)
        return {};
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    text.replace(u'.', Formats::decimalSeparator);
    return text;
}

void SalePrintout::draw(PageCanvas &canvas) const {
    const int W = canvas.pageWidth();
    const int H = canvas.pageHeight();
    int y = 70;
    int h = useFont(canvas, 10, true);
    const int cx = W * 2 / 6;
    auto centred = [&](const QString &text) {
        canvas.textOutCentred(cx, y, text);
        y += h;
    };
    centred(name);
    useFont(canvas, 10);
    centred(name2);
    centred(address);
    centred(vatLine);
    centred(phoneLine);
    y += 2 * h;

    const int t = (W * 2 / 3) / 17;
    const int x0 = 50;
    const QList<int> widths = {10 * t - t / 2, 2 * t, 2 * t, t + t / 2, 2 * t};
    QList<int> lefts;
    int x = x0;
    for (int w : widths) {
        lefts << x;
        x += w;
    }
    const int right = x;
    auto columnRight = [&](int c) { return lefts[c] + widths[c]; };
    const QStringList titles = {QStringLiteral("DESCRIZIONE ARTICOLO"), QStringLiteral("QUANTITA'"),
                                QStringLiteral("PREZZO"), QStringLiteral("SCONTO %"),
                                QStringLiteral("IMPORTO ")};
    auto header = [&] {
        h = useFont(canvas, 6);
        canvas.setBrushClear();
        for (int c = 0; c < titles.size(); ++c) {
            canvas.rectangle(lefts[c], y - 10, columnRight(c), y + h + 5);
            canvas.textOut(lefts[c] + 5, y, titles[c]);
        }
        y += h + 5;
        for (int i = 1; i <= 5; ++i) {
            canvas.moveTo(x0, y + i);
            canvas.lineTo(right, y + i);
        }
        y += h / 2;
        h = useFont(canvas, 8);
        y += 10;
    };
    header();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const SheetRow &row = rows[i];
        canvas.textOut(x0 + 5, y, row.text(sheet::DESCRIZION));
        rightText(canvas, columnRight(1), y, quantityText(row.number(sheet::QUANTITA)).trimmed());
        rightText(canvas, columnRight(2), y,
                  Formats::format(u"%10.2n", row.number(sheet::PREZZO)).trimmed());
        rightText(canvas, columnRight(3), y, percentText(row.number(sheet::SCONTO)));
        if (!row.amount.isNull())
            rightText(canvas, columnRight(4), y,
                      Formats::format(u"%10.2n", row.amount.toDouble()).trimmed());
        y += h;
        if (i < reductions.size() && !reductions[i].isEmpty()) {
            useFont(canvas, 7);
            canvas.textOut(x0 + 15, y, reductions[i]);
            h = useFont(canvas, 8);
            y += h;
        }
        if (i + 1 < rows.size() && y + 2 * h > 0.85 * H) {
            canvas.newPage();
            y = 100;
            header();
        }
    }

    y += h;
    for (int i = 1; i <= 5; ++i) {
        canvas.moveTo(lefts[1], y + i);
        canvas.lineTo(right, y + i);
    }
    y += h / 2;
    h = useFont(canvas, 10);
    if (discount > 0) {
        canvas.textOut(lefts[3], y, QStringLiteral("SCONTO"));
        rightText(canvas, columnRight(4), y, percentText(discount) + QStringLiteral("%"));
        y += h;
    }
    canvas.textOut(lefts[3], y, QStringLiteral("TOTALE"));
    rightText(canvas, columnRight(4), y, Formats::format(u"%10.2n", total).trimmed());
}

} // namespace corvale
