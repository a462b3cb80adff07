#include "documents/SizePanel.h"

#include "db/Table.h"
#include "platform/Formats.h"
#include "widgets/LookupCombo.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvale {

SizePanel::SizePanel(db::Database &database, QWidget *parent)
    : QFrame(parent)
    , m_colours(std::make_unique<db::Table>(database)) {
    setObjectName(QStringLiteral("SizePanel"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    m_colours->setTableName(QStringLiteral("COLORI"));
    m_colours->setIndexName(QStringLiteral("COLORE"));

    auto *layout = new QVBoxLayout(this);
    auto *info = new QGridLayout;
    auto field = [&](int row, int col, const QString &caption, const QString &name) {
        auto *c = new QLabel(caption, this);
        auto *v = new QLabel(this);
        v->setObjectName(name);
        v->setFrameShape(QFrame::Panel);
        v->setFrameShadow(QFrame::Sunken);
        info->addWidget(c, row, col * 2);
        info->addWidget(v, row, col * 2 + 1);
        return std::make_pair(c, v);
    };
    m_brand = field(0, 0, QStringLiteral("MARCHIO"), QStringLiteral("Marchio")).second;
    m_typology = field(0, 1, QStringLiteral("TIPOLOGIA"), QStringLiteral("Tipologia")).second;
    auto sizeType = field(1, 0, QStringLiteral("TIPO TAGLIA"), QStringLiteral("TipoTaglia"));
    m_sizeTypeCaption = sizeType.first;
    m_sizeType = sizeType.second;
    m_material = field(1, 1, QStringLiteral("MATERIALE"), QStringLiteral("Materiale")).second;
    layout->addLayout(info);

    auto *colourRow = new QHBoxLayout;
    colourRow->addWidget(new QLabel(QStringLiteral("COLORE"), this));
    m_colour = new LookupCombo(this);
    m_colour->setObjectName(QStringLiteral("Colore"));
    m_colour->setMinimumWidth(180);
    colourRow->addWidget(m_colour, 1);
    auto *newColour = new QPushButton(QStringLiteral("Nuovo"), this);
    newColour->setObjectName(QStringLiteral("Nuovo"));
    colourRow->addWidget(newColour);
    layout->addLayout(colourRow);

    auto *grid = new QGridLayout;
    for (int p = 1; p <= SizeEntry::positions; ++p) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("L%1").arg(p));
        label->setAlignment(Qt::AlignCenter);
        auto *box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Q%1").arg(p));
        box->setMaximumWidth(48);
        box->setAlignment(Qt::AlignRight);
        auto *value = new QLabel(this);
        value->setObjectName(QStringLiteral("V%1").arg(p));
        value->setAlignment(Qt::AlignCenter);
        value->hide();
        const int row = (p - 1) / 10 * 3;
        const int col = (p - 1) % 10;
        grid->addWidget(label, row, col);
        grid->addWidget(box, row + 1, col);
        grid->addWidget(value, row + 2, col);
        m_labels << label;
        m_boxes << box;
        m_values << value;
    }
    layout->addLayout(grid);

    auto *buttons = new QHBoxLayout;
    m_curve = new QPushButton(QStringLiteral("Curva"), this);
    m_curve->setObjectName(QStringLiteral("Curva"));
    m_curve->setToolTip(QStringLiteral("Distribuisci N pezzi secondo la curva taglie"));
    m_curve->hide();
    buttons->addWidget(m_curve);
    buttons->addStretch();
    m_load = new QPushButton(QStringLiteral("Carica"), this);
    m_load->setObjectName(QStringLiteral("Carica"));
    auto *cancel = new QPushButton(QStringLiteral("Annulla"), this);
    cancel->setObjectName(QStringLiteral("Annulla"));
    buttons->addWidget(m_load);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(m_load, &QPushButton::clicked, this, &SizePanel::loadClicked);
    connect(cancel, &QPushButton::clicked, this, &SizePanel::cancelClicked);
    connect(newColour, &QPushButton::clicked, this, &SizePanel::newColourClicked);
    connect(m_curve, &QPushButton::clicked, this, &SizePanel::curveClicked);
    connect(m_colour, &QComboBox::currentIndexChanged, this, &SizePanel::colourChanged);
    m_load->setEnabled(false);
    hide();
}

SizePanel::~SizePanel() = default;

void SizePanel::offerCurve(bool on) {
    m_curve->setVisible(on);
}

void SizePanel::setQuantities(const std::array<qint64, SizeEntry::positions> &quantities) {
    for (int p = 1; p <= SizeEntry::positions; ++p) {
        if (!m_entry.isVisible(p))
            continue;
        const qint64 q = quantities[size_t(p - 1)];
        m_boxes[p - 1]->setText(q > 0 ? QString::number(q) : QString());
    }
}

void SizePanel::setSizeTypeCaption(const QString &caption) {
    m_sizeTypeCaption->setText(caption);
}

void SizePanel::openTables() {
    m_colours->close();
    m_colours->open();
    reloadColours();
}

void SizePanel::closeTables() {
    m_colours->close();
}

void SizePanel::reloadColours(qint64 number) {
    if (!m_colours->isOpen())
        return;
    m_colours->refresh();
    m_colour->blockSignals(true);
    m_colour->fill(*m_colours, QStringLiteral("COLORE"), QStringLiteral("NUMREG"));
    if (number > 0)
        m_colour->setCurrentKey(number);
    else
        m_colour->setCurrentIndex(-1);
    m_colour->blockSignals(false);
    colourChanged();
}

void SizePanel::begin(const QString &sizeTypeName, const QStringList &labels, const QString &brand,
                      const QString &typology, const QString &material) {
    m_entry.setLabels(labels);
    m_entry.clearQuantities();
    m_brand->setText(brand);
    m_typology->setText(typology);
    m_sizeType->setText(sizeTypeName);
    m_material->setText(material);
    for (int p = 1; p <= SizeEntry::positions; ++p) {
        const bool visible = m_entry.isVisible(p);
        m_labels[p - 1]->setText(m_entry.label(p));
        m_labels[p - 1]->setVisible(visible);
        m_boxes[p - 1]->setText(QStringLiteral("0"));
        m_boxes[p - 1]->setVisible(visible);
    }
    setCellValues({});
    m_colour->setCurrentIndex(-1);
    colourChanged();
}

void SizePanel::setCellValues(const QStringList &values) {
    for (int p = 1; p <= SizeEntry::positions; ++p) {
        m_values[p - 1]->setText(values.value(p - 1));
        m_values[p - 1]->setVisible(!values.isEmpty() && m_entry.isVisible(p));
    }
}

const SizeEntry &SizePanel::entry() {
    for (int p = 1; p <= SizeEntry::positions; ++p)
        m_entry.setQuantity(p, Formats::parseNumber(m_boxes[p - 1]->text()).value_or(0));
    return m_entry;
}

void SizePanel::colourChanged() {
    if (m_colour->currentIndex() < 0)
        m_entry.clearColour();
    else
        m_entry.setColour(m_colour->currentKey().toLongLong(), m_colour->currentText());
    m_load->setEnabled(m_entry.canLoad());
}

} // namespace corvale
