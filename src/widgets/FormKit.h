#pragma once

#include <QString>

class QBoxLayout;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace corvale {

class TitleBand;

// The few pieces every form of the program is made of, laid out the same way
// everywhere. Each widget is named after what it shows, so that tests and the
// program walk find it.
namespace formkit {

// A button named after its caption, with `hint` as its tooltip, at least
// `minimumWidth` wide, added to `layout` when one is given.
QPushButton *button(const QString &caption, QWidget *parent, QBoxLayout *layout = nullptr,
                    const QString &hint = {}, int minimumWidth = 90);

// The window's title band with the shop's band picture, added to `layout`.
TitleBand *titleBand(const QString &heading, const QString &picture, QWidget *parent,
                     QBoxLayout *layout);

// Makes `window` a window of the central panel: borderless and filled,
// captioned `caption`, laid out in a column (no margins, 2 apart) that opens
// with its title band. Returns that column.
QVBoxLayout *panelWindow(QWidget *window, const QString &caption, const QString &heading,
                         const QString &picture);

// A toolbar row (margins 8 and 2, buttons 4 apart) added to `layout`.
QHBoxLayout *toolbar(QBoxLayout *layout);

// A caption over its edit box, in `column` of a two-row header grid.
QLineEdit *labelledEdit(QGridLayout *grid, int column, const QString &caption, const QString &name,
                        QWidget *parent);

// A caption and, beside it, a sunken box showing a figure right-aligned (the
// totals at the foot of a document).
QLabel *valueBox(const QString &caption, const QString &name, QWidget *parent, QBoxLayout *layout);

} // namespace formkit
} // namespace corvale
