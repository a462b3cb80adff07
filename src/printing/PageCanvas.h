#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

namespace corvale {

// The font of a canvas as printouts name it: a face, a size in points and a style.
struct CanvasFont {
    QString name = QStringLiteral("Arial");
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QColor color = Qt::black;
    // When above 0, the full cell height of the font in device units (what a
    // positive font height asks for); it then takes the place of `size`.
    int height = 0;

    bool operator==(const CanvasFont &) const = default;
};

// The drawing surface of every printout and label, in device units (printer
// dots on paper, pixels on screen). It works like the canvas the printouts were
// designed on: a current font, pen and brush; text written with its top-left
// corner at the given point; a pen position for moveTo/lineTo; rectangles
// outlined with the pen and filled with the brush.
//
// Backends: QPainterCanvas (printer, PDF, image, widget) and RecordingCanvas
// (keeps every item for tests). State handling lives here; backends draw.
class PageCanvas {
public:
    virtual ~PageCanvas() = default;

    // Page size in device units and the resolution in dots per inch.
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    virtual int resolution() const = 0;
    // The vertical resolution; printers may have one apart from the horizontal.
    virtual int verticalResolution() const { return resolution(); }
    // True for a page that goes to a printer (or a file standing for one):
    // drawing code that measures in printer dots asks this.
    virtual bool isPrinterPage() const { return false; }

    // Font. "Arial" and "MS Sans Serif" resolve to metric-compatible faces.
    virtual void setFont(const CanvasFont &font) = 0;
    virtual CanvasFont font() const = 0;
    void setFontSize(double points);
    void setFontName(const QString &name);
    void setBold(bool on);
    void setItalic(bool on);

    // Text metrics in device units for the current font. textHeight is the
    // full line cell of the font (what "the height of X" means in layouts).
    virtual int textWidth(const QString &text) const = 0;
    virtual int textHeight(const QString &text) const = 0;

    // Pen (lines and outlines) and brush (fills). A clear brush fills nothing.
    virtual void setPen(const QColor &color, int width = 1) = 0;
    virtual QColor penColor() const = 0;
    virtual int penWidth() const = 0;
    virtual void setBrush(const QColor &color) = 0;
    virtual void setBrushClear() = 0;
    virtual QColor brushColor() const = 0;
    virtual bool brushClear() const = 0;

    // Text in the font's colour. Unless the brush is clear, the text cell
    // (textWidth x textHeight) is first filled with the brush, as the canvas
    // the printouts were designed on does; set a clear brush for see-through text.
    virtual void textOut(int x, int y, const QString &text) = 0;
    // The same text ending at `right`, or centred on `middle`.
    void textOutRight(int right, int y, const QString &text) {
        textOut(right - textWidth(text), y, text);
    }
    void textOutCentred(int middle, int y, const QString &text) {
        textOut(middle - textWidth(text) / 2, y, text);
    }
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    // Outline with the pen and fill with the brush, (x1,y1) to (x2,y2) exclusive.
    virtual void rectangle(int x1, int y1, int x2, int y2) = 0;
    virtual void roundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) = 0;
    // Fills with the given colour, no outline.
    virtual void fillRect(const QRect &rect, const QColor &color) = 0;
    virtual void stretchDraw(const QRect &rect, const QImage &image) = 0;

    // Ends the current page and starts a new one.
    virtual void newPage() = 0;
};

} // namespace corvale
