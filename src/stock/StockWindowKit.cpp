#include "stock/StockWindowKit.h"

#include "printing/PrintService.h"
#include "shell/Shop.h"

#include <QApplication>
#include <QPalette>
#include <QStyledItemDelegate>
#include <QTableView>

namespace corvale::StockWindowKit {

namespace {

QColor background(Look look) {
    switch (look) {
    case Look::Code:
        return QColor(0xE0, 0xE0, 0xE0);
    case Look::Red:
        return QColor(0xFF, 0xD8, 0xD8);
    case Look::Green:
        return QColor(0xD8, 0xFF, 0xD8);
    case Look::Yellow:
        return QColor(0xFF, 0xFF, 0xD0);
    case Look::Blue:
        return QColor(0xD8, 0xE4, 0xFF);
    case Look::ZeroAsButton:
        return QApplication::palette().color(QPalette::Button);
    }
    return {};
}

class LookDelegate : public QStyledItemDelegate {
public:
    LookDelegate(Look look, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_look(look) {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_look == Look::Code)
            option->font.setBold(true);
        // A size cell holding nothing takes the colour of a button.
        if (m_look == Look::ZeroAsButton && !option->text.isEmpty())
            return;
        option->backgroundBrush = background(m_look);
    }

private:
    Look m_look;
};

} // namespace

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

void paintColumns(QTableView &view, const QList<QPair<int, Look>> &looks) {
    for (const auto &[column, look] : looks)
        view.setItemDelegateForColumn(column, new LookDelegate(look, &view));
}

void print(Shop &shop, const QString &title, const PrintDocument &document) {
    PrintService &service = shop.printService();
    if (!service.print(title, document) && !service.errorText().isEmpty())
        shop.prompter().error(service.errorText());
}

} // namespace corvale::StockWindowKit
