#pragma once

#include "labels/BarcodeDrawer.h"
#include "labels/TBarCodeType.h"

#include <QPointer>
#include <QWidget>

namespace corvale {

class BarcodeDataSource;
class BarcodeDragOverlay;
class PageCanvas;

// The barcode control: shows its text as a barcode on its own surface and
// draws it on any page canvas, the printer page above all. Left, Top, Width
// and Height are the widget's geometry in screen pixels.
class TPrintBarcode : public QWidget {
    Q_OBJECT
public:
    static constexpr int maxTextLength = 280;

    explicit TPrintBarcode(QWidget *parent = nullptr);
    ~TPrintBarcode() override;

    QString text() const { return p_.text; }
    void setText(const QString &text);
    TBarCodeType barCodeType() const { return p_.type; }
    void setBarCodeType(TBarCodeType type);
    bool clearZone() const { return p_.clearZone; }
    void setClearZone(bool on) { p_.clearZone = on; }
    double heightInInches() const;
    void setHeightInInches(double inches);
    double widthInInches() const;
    void setWidthInInches(double inches);
    double topInInches() const;
    void setTopInInches(double inches);
    double leftInInches() const;
    void setLeftInInches(double inches);
    bool autoPosition() const { return p_.autoPosition; }
    void setAutoPosition(bool on) { p_.autoPosition = on; }
    bool autoSizing() const { return p_.autoSizing; }
    void setAutoSizing(bool on) { p_.autoSizing = on; }
    double magnification() const { return p_.magnification; }
    void setMagnification(double value);
    QColor barColor() const { return p_.barColor; }
    void setBarColor(const QColor &color);
    // The background, used for spaces and clear modules.
    QColor color() const { return p_.color; }
    void setColor(const QColor &color);

    QString dataField() const { return dataField_; }
    void setDataField(const QString &field);
    BarcodeDataSource *dataSource() const { return dataSource_; }
    void setDataSource(BarcodeDataSource *source);
    // The linked dataset moved to another record or changed it.
    void recordChanged();

    // Draws Text as BarCodeType on another target. A resolution below 5
    // means the screen's; a printer page uses its own resolutions.
    BarcodeOutcome DrawBarcode(PageCanvas &target, int resolution);
    // Draws on the control's own surface (what painting does), taking the
    // automatic sizes of the symbol.
    BarcodeOutcome drawOwnSurface(PageCanvas &canvas);

    // The screen's pixels per inch; tests and tools may fix them.
    int screenDpiX() const;
    int screenDpiY() const;
    void setScreenDpi(int x, int y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum Edge { None = 0, Left = 1, Top = 2, Right = 4, Bottom = 8 };
    BarcodeProperties properties() const;
    void redrawIfVisible();
    int edgesAt(const QPoint &pos) const;
    void updateCursor(int edges);
    QRect dragRect(const QPoint &globalPos) const;

    BarcodeProperties p_;
    QString dataField_;
    BarcodeDataSource *dataSource_ = nullptr;
    int fixedDpiX_ = 0;
    int fixedDpiY_ = 0;

    // Run-time moving and resizing.
    int dragEdges_ = None;
    bool dragging_ = false;
    QPoint dragStart_;
    QRect dragOrigin_;
    QPointer<BarcodeDragOverlay> overlay_;
};

} // namespace corvale
