#pragma once

#include "printing/PrintJob.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace corvale {

class CommonRoutines;
class PageCanvas;
class PrintService;

// The pieces every boxed document printout is drawn with (receipt, delivery
// note, order, invoice): rows of rounded boxes with small captions and values
// right-aligned inside them, the boxed column header with its rule, the totals
// row that says "SEGUE" on every page but the last, and the copies.
namespace documentprint {

// Sets Arial at `points` (bold when asked) and returns the height of "X".
int useFont(PageCanvas &canvas, double points, bool bold = false);
// Sets Arial italic at `points`, as list printouts head their columns, and
// returns the height of "X".
int useItalic(PageCanvas &canvas, double points);
// The shop's two name lines centred on `centre`: the first at y in 12 pt bold,
// the second one 12 pt line lower in 10 pt bold. Returns the 12 pt line's height.
int nameLines(PageCanvas &canvas, int centre, int y, const QString &line1, const QString &line2);
// Text right-aligned `margin` units left of `right`.
void rightText(PageCanvas &canvas, int right, int y, const QString &text, int margin = 10);

struct Span {
    int left = 0;
    int right = 0;
};

// Rounded boxes (corner 30 x 30) from y - 5 to y + 2h over `spans`, captioned
// in 6 pt 10 units from each left edge at y; the font is back to 10 pt.
void captionedBoxes(PageCanvas &canvas, int y, int h, const QList<Span> &spans,
                    const QStringList &captions);
// Values right-aligned in those boxes (an empty text draws nothing), at the
// row's value line; `boldLast` draws the last one in bold.
void boxValues(PageCanvas &canvas, int y, const QList<Span> &spans, const QStringList &values,
               bool boldLast = false);

struct Column {
    QString caption;
    int width = 0;
};
// The column header in 6 pt from x = 50: a rounded box (corner 20 x 20) per
// column and its caption; a rule five units thick below; returns the y of the
// first row (10 pt regular is set again).
int columnHeader(PageCanvas &canvas, int y, const QList<Column> &columns);
// A rule `thickness` units thick from x 50 to `right`, starting below y.
void rule(PageCanvas &canvas, int y, int right, int thickness);

// The left edges of the columns from x = 50.
QList<int> columnLefts(const QList<Column> &columns);

// The addressee's box beside the shop's heading, from y0 - 5 to y0 + 7h
// (h: the 10 pt line): "SPETT.LE" in 6 pt, then in 10 pt the name, the
// address and the town line. Returns where the document boxes may start: the
// lower of `headingBottom` and half a line below the box.
int addresseeBox(PageCanvas &canvas, int y0, int right, const QString &name, const QString &address,
                 const QString &townLine, int headingBottom);
// The addressee's town line: the postcode padded to five digits and a blank
// before the town; the town alone without a postcode.
QString townLine(const QString &postcode, const QString &town);
// The annotations box from 50 to `right` below y (h: the 10 pt line), with the
// note text right-aligned in it and the privacy text in 8 pt below it.
void notesBox(PageCanvas &canvas, int y, int h, int right, const QString &noteText,
              const QString &privacyText);

// The quantity as the documents print it: "%8.*n" with two decimals when it
// has a fractional part, none otherwise.
QString quantityText(double quantity);

// Asks the copies (AskCopies) and prints them, each one a job of its own;
// false when none was asked for or the print failed.
bool printCopies(CommonRoutines &routines, PrintService &service, const QString &title,
                 const PrintDocument &document);

} // namespace documentprint

} // namespace corvale
