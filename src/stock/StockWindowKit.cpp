#include "stock/StockWindowKit.h"

#include "db/Table.h"
#include "printing/PrintService.h"
#include "shell/Shop.h"
#include "stock/StockColumns.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
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

QColor titleColour(Look look) {
    switch (look) {
    case Look::Red:
        return QColor(0xC0, 0x00, 0x00);
    case Look::Green:
        return QColor(0x00, 0x80, 0x00);
    case Look::Blue:
        return QColor(0x00, 0x00, 0xC0);
    case Look::Yellow:
        return QColor(0xFF, 0xFF, 0x00);
    case Look::Code:
    case Look::ZeroAsButton:
        break;
    }
    return {};
}

class ColouredHeader : public QHeaderView {
public:
    ColouredHeader(const QList<QPair<int, Look>> &looks, QWidget *parent)
        : QHeaderView(Qt::Horizontal, parent) {
        for (const auto &[column, look] : looks)
            m_colours.insert(column, titleColour(look));
        setSectionsClickable(false);
    }

protected:
    void paintSection(QPainter *painter, const QRect &rect, int section) const override {
        const QColor colour = m_colours.value(section);
        if (!colour.isValid()) {
            QHeaderView::paintSection(painter, rect, section);
            return;
        }
        painter->save();
        painter->fillRect(rect.adjusted(0, 0, -1, -1), colour);
        painter->setPen(qGray(colour.rgb()) > 150 ? Qt::black : Qt::white);
        painter->drawText(rect, Qt::AlignCenter,
                          model()->headerData(section, Qt::Horizontal).toString());
        painter->restore();
    }

private:
    QHash<int, QColor> m_colours;
};

} // namespace

void paintTitles(QTableView &view, const QList<QPair<int, Look>> &looks) {
    view.setHorizontalHeader(new ColouredHeader(looks, &view));
}

void paintColumns(QTableView &view, const QList<QPair<int, Look>> &looks) {
    for (const auto &[column, look] : looks)
        view.setItemDelegateForColumn(column, new LookDelegate(look, &view));
}

std::unique_ptr<db::Table> nameList(db::Database &database, const QString &table) {
    auto list = std::make_unique<db::Table>(database);
    list->setTableName(table);
    list->setIndexName(stockColumns::NOME);
    return list;
}

void print(Shop &shop, const QString &title, const PrintDocument &document) {
    PrintService &service = shop.printService();
    if (!service.print(title, document) && !service.errorText().isEmpty())
        shop.prompter().error(service.errorText());
}

} // namespace corvale::StockWindowKit
