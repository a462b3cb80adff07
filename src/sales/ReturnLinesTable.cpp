#include "sales/ReturnLinesTable.h"

#include "documents/SheetColumns.h"

#include <QDoubleSpinBox>
#include <QHeaderView>

#include <cmath>

namespace corvale {

namespace {

constexpr int quantityColumn = 5;

QString quantityText(double q) {
    return QString::number(q, 'f', q == std::floor(q) ? 0 : 3);
}

} // namespace

ReturnLinesTable::ReturnLinesTable(const QList<ReturnableLine> &lines, QWidget *parent)
    : QTableWidget(int(lines.size()), quantityColumn + 1, parent) {
    setObjectName(QStringLiteral("Righe"));
    setHorizontalHeaderLabels({QStringLiteral("Articolo"), QStringLiteral("Colore"),
                               QStringLiteral("Taglia"), QStringLiteral("Venduti"),
                               QStringLiteral("Già resi"), QStringLiteral("Da rendere")});
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int i = 0; i < lines.size(); ++i) {
        const ReturnableLine &line = lines.at(i);
        const QStringList cells{line.row.text(sheet::DESCRIZION), line.row.text(sheet::COLORE),
                                line.row.text(sheet::CTAGLIA), quantityText(line.sold),
                                quantityText(line.returned)};
        for (int c = 0; c < cells.size(); ++c)
            setItem(i, c, new QTableWidgetItem(cells.at(c)));
        auto *box = new QDoubleSpinBox(this);
        box->setObjectName(QStringLiteral("DaRendere%1").arg(i));
        box->setDecimals(line.left() == std::floor(line.left()) ? 0 : 3);
        box->setRange(0, std::max(0.0, line.left()));
        box->setEnabled(line.left() > 0);
        connect(box, &QDoubleSpinBox::valueChanged, this, &ReturnLinesTable::picksChanged);
        setCellWidget(i, quantityColumn, box);
        m_boxes << box;
    }
}

QList<ReturnPick> ReturnLinesTable::picks() const {
    QList<ReturnPick> out;
    for (int i = 0; i < m_boxes.size(); ++i)
        if (m_boxes.at(i)->value() > 0)
            out << ReturnPick{i, m_boxes.at(i)->value()};
    return out;
}

PaymentType tenderChoice(int row) {
    switch (row) {
    case 1:
        return PaymentType::Card;
    case 2:
        return PaymentType::Voucher;
    default:
        return PaymentType::Cash;
    }
}

void ReturnLinesTable::takeAll() {
    for (QDoubleSpinBox *box : std::as_const(m_boxes))
        box->setValue(box->maximum());
}

} // namespace corvale
