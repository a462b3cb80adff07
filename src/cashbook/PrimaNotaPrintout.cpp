#include "cashbook/PrimaNotaPrintout.h"

#include "cashbook/RegisterDaysModel.h"

#include "platform/Formats.h"
#include "printing/PageCanvas.h"

namespace corvale {

namespace {

// Columns of the page: date, operation and the in/out pairs of cash, bank and
// other (the fourth book is not printed).
struct Geometry {
    int x0 = 50;
    int u = 0;
    int bottom = 0;

    int operation() const { return x0 + u; }
    // Left edge of amount column `i` (0..5).
    int amount(int i) const { return x0 + 7 * u + i * u; }
    int right() const { return x0 + 13 * u; }
};

constexpr int printedBooks[] = {0, 1, 3};

void hline(PageCanvas &c, int x1, int x2, int y) {
    c.moveTo(x1, y);
    c.lineTo(x2, y);
}

// The column heads and the page's grid; returns where the lines start.
int drawHeader(PageCanvas &c, const Geometry &g, int y, int *bodyLineHeight) {
    c.setFont(CanvasFont{QStringLiteral("Arial"), 7, true});
    const int h = c.textHeight(QStringLiteral("X"));
    const QString books[] = {QStringLiteral("CASSA"), QStringLiteral("BANCA"),
                             QStringLiteral("VARIE")};
    for (int b = 0; b < 3; ++b)
        c.textOutCentred(g.amount(2 * b + 1), y, books[b]);
    y += h + 5;
    c.setBrushClear();
    c.rectangle(g.x0, y, g.operation(), g.bottom);
    c.rectangle(g.operation(), y, g.amount(0), g.bottom);
    for (int i = 0; i < 6; ++i)
        c.rectangle(g.amount(i), y, g.amount(i) + g.u, g.bottom);
    y += 10;
    c.textOut(g.x0 + 10, y, QStringLiteral("DATA"));
    c.textOut(g.operation() + 10, y, QStringLiteral("OPERAZIONE"));
    const QString heads[] = {QStringLiteral("Entrate"),    QStringLiteral("Uscite"),
                             QStringLiteral("Versamenti"), QStringLiteral("Prelievi"),
                             QStringLiteral("Entrate"),    QStringLiteral("Uscite")};
    for (int i = 0; i < 6; ++i)
        c.textOutCentred(g.amount(i) + g.u / 2, y, heads[i]);
    y += h + 5;
    hline(c, g.x0, g.right(), y);
    y += 10;
    c.setFont(CanvasFont{QStringLiteral("Arial"), 8, false});
    *bodyLineHeight = c.textHeight(QStringLiteral("X"));
    return y;
}

// The text cut from its end until it fits the width.
QString fitted(const PageCanvas &c, QString text, int width) {
    while (!text.isEmpty() && c.textWidth(text) > width)
        text.chop(1);
    return text;
}

QString amountText(double value) {
    return Formats::format(u"%10.2n", value).trimmed();
}

// The heads of the register pages; returns where their lines start.
int drawRegisterHeader(PageCanvas &c, const Geometry &g, int y, int *bodyLineHeight) {
    c.setFont(CanvasFont{QStringLiteral("Arial"), 7, true});
    const int h = c.textHeight(QStringLiteral("X"));
    c.textOutCentred(g.x0 + g.u, y, QStringLiteral("DATA"));
    for (int column = RegisterDaysModel::Takings; column < RegisterDaysModel::ColumnCount; ++column)
        c.textOutRight(g.x0 + 2 * (column + 1) * g.u - 10, y,
                       RegisterDaysModel::title(RegisterDaysModel::Column(column)).toUpper());
    y += h + 5;
    hline(c, g.x0, g.x0 + 8 * g.u, y);
    y += 10;
    c.setFont(CanvasFont{QStringLiteral("Arial"), 8, false});
    *bodyLineHeight = c.textHeight(QStringLiteral("X"));
    return y;
}

// The counter takings of each day beside the register's total and their
// difference, red where they part, on as many pages as they need.
void drawRegisterDays(PageCanvas &c, const Geometry &g, const PrimaNotaContent &content) {
    c.newPage();
    c.setFont(CanvasFont{QStringLiteral("Arial"), 10, true});
    c.setBrushClear();
    c.textOut(g.x0 + 10, 70,
              QStringLiteral("CONFRONTO CON IL REGISTRATORE TELEMATICO - DAL ") + content.fromText +
                  QStringLiteral(" AL ") + content.toText);
    int L = 0;
    int y = drawRegisterHeader(c, g, 70 + c.textHeight(QStringLiteral("X")) + 30, &L);
    const CanvasFont body{QStringLiteral("Arial"), 8, false};
    CanvasFont red = body;
    red.color = Qt::red;
    for (const RegisterDay &day : content.registerDays) {
        if (y + L + 20 >= g.bottom) {
            c.newPage();
            y = drawRegisterHeader(c, g, 70, &L);
        }
        c.textOutCentred(g.x0 + g.u, y, day.date);
        for (int column = RegisterDaysModel::Takings; column < RegisterDaysModel::ColumnCount;
             ++column) {
            const bool differs = column == RegisterDaysModel::Difference && day.differs();
            c.setFont(differs ? red : body);
            c.textOutRight(g.x0 + 2 * (column + 1) * g.u - 10, y,
                           RegisterDaysModel::cellText(day, RegisterDaysModel::Column(column)));
        }
        c.setFont(body);
        y += L;
    }
}

} // namespace

void PrimaNotaPrintout::draw(PageCanvas &c) const {
    Geometry g;
    g.u = (c.pageWidth() - 100) / 13;
    g.bottom = c.pageHeight() * 93 / 100;

    c.setFont(CanvasFont{QStringLiteral("Arial"), 10, true});
    c.setBrushClear();
    c.textOut(g.x0 + 10, 70,
              QStringLiteral("PRIMA NOTA - DAL ") + content->fromText + QStringLiteral(" AL ") +
                  content->toText + QStringLiteral(" - ") + shopName + QLatin1Char(' ') +
                  vatNumber);
    int y = 70 + c.textHeight(QStringLiteral("X")) + 30;
    int L = 0;
    y = drawHeader(c, g, y, &L);

    const QList<PrimaNotaLine> &lines = content->lines;
    for (int n = 0; n < lines.size(); ++n) {
        const PrimaNotaLine &line = lines[n];
        // The period totals always stand at the foot of the last page.
        if (line.description.startsWith(QStringLiteral("PARZIALI DAL"))) {
            y = g.bottom - L - 10;
            hline(c, g.x0, g.right(), y);
            y += 3;
        }
        c.textOutCentred(g.x0 + g.u / 2, y, line.date);
        c.textOut(g.operation() + 10, y, fitted(c, line.description, 6 * g.u));
        for (int b = 0; b < 3; ++b) {
            const int k = printedBooks[b];
            const double values[] = {line.in[k], line.out[k]};
            for (int side = 0; side < 2; ++side) {
                if (values[side] == 0)
                    continue;
                const QString text = amountText(values[side]);
                const int right = g.amount(2 * b + side) + g.u - 10;
                c.textOutRight(right, y, text);
            }
        }
        y += L;
        if (line.description.startsWith(QStringLiteral("PARZIALI PRIMA"))) {
            y += 5;
            hline(c, g.x0, g.right() + 1, y);
            y += 5;
        }
        if (n + 1 < lines.size() && y + L + 20 >= g.bottom) {
            c.newPage();
            y = drawHeader(c, g, 70, &L);
        }
    }

    // The balances of the window under their books.
    c.setBrushClear();
    for (int b = 0; b < 3; ++b)
        c.rectangle(g.amount(2 * b), g.bottom, g.amount(2 * b) + 2 * g.u, y + L + 50);
    y += 25;
    c.textOut(g.operation() + 10, y, QStringLiteral("TOTALI"));
    const cashbook::Book books[] = {cashbook::Book::Cash, cashbook::Book::Bank,
                                    cashbook::Book::Other};
    for (int b = 0; b < 3; ++b) {
        const QString text = Formats::format(u"%10.2n", content->balance(books[b])).trimmed();
        c.textOutCentred(g.amount(2 * b + 1) - 10, y, text);
    }

    if (withRegister && !content->registerDays.isEmpty())
        drawRegisterDays(c, g, *content);
}

} // namespace corvale
