#include "widgets/FormKit.h"

#include "widgets/TitleBand.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvale::formkit {

QPushButton *button(const QString &caption, QWidget *parent, QBoxLayout *layout,
                    const QString &hint, int minimumWidth) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(caption);
    if (!hint.isEmpty())
        b->setToolTip(hint);
    b->setMinimumWidth(minimumWidth);
    if (layout)
        layout->addWidget(b);
    return b;
}

TitleBand *titleBand(const QString &heading, const QString &picture, QWidget *parent,
                     QBoxLayout *layout) {
    auto *band = new TitleBand(heading, parent);
    band->setPicture(picture);
    layout->addWidget(band);
    return band;
}

QVBoxLayout *panelWindow(QWidget *window, const QString &caption, const QString &heading,
                         const QString &picture) {
    window->setWindowTitle(caption);
    window->setWindowFlags(window->windowFlags() | Qt::FramelessWindowHint);
    window->setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    titleBand(heading, picture, window, layout);
    return layout;
}

QHBoxLayout *toolbar(QBoxLayout *layout) {
    auto *row = new QHBoxLayout;
    row->setContentsMargins(8, 2, 8, 2);
    row->setSpacing(4);
    layout->addLayout(row);
    return row;
}

QLineEdit *labelledEdit(QGridLayout *grid, int column, const QString &caption, const QString &name,
                        QWidget *parent) {
    grid->addWidget(new QLabel(caption, parent), 0, column);
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    grid->addWidget(e, 1, column);
    return e;
}

QLabel *valueBox(const QString &caption, const QString &name, QWidget *parent, QBoxLayout *layout) {
    layout->addWidget(new QLabel(caption, parent));
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(90);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(l);
    return l;
}

} // namespace corvale::formkit
