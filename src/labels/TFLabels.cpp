#include "labels/TFLabels.h"

#include "catalogue/CapitalsValidator.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "labels/LabelFilter.h"
#include "labels/LabelGrid.h"
#include "labels/LabelList.h"
#include "labels/LabelPrinting.h"
#include "labels/TPrintBarcode.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/TableModel.h"
#include "widgets/TitleBand.h"
#include "widgets/WaitCursor.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace corvale {

namespace {

constexpr int codeLength = 15;
constexpr int descriptionLength = 30;

} // namespace

TFLabels::TFLabels(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_list(std::make_unique<db::Table>(shop.database())) {
    setObjectName(QStringLiteral("TFLabels"));
    setWindowTitle(QStringLiteral("Stampa etichette"));
    setModal(true);
    m_list->setTableName(sheet::table);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto *band = new TitleBand(QStringLiteral("STAMPA ETICHETTE"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    // Tool bar: the label printer box, the sheet layout, Stampa and Uscita.
    m_toolbar = new QWidget(this);
    auto *tools = new QHBoxLayout(m_toolbar);
    tools->setContentsMargins(8, 2, 8, 2);
    m_labelPrinter = new QCheckBox(QStringLiteral("Usa Etichettatrice"), m_toolbar);
    m_labelPrinter->setObjectName(m_labelPrinter->text());
    tools->addWidget(m_labelPrinter);
    m_layoutFields = new QWidget(m_toolbar);
    auto *fields = new QHBoxLayout(m_layoutFields);
    fields->setContentsMargins(0, 0, 0, 0);
    auto field = [&](const char *name, const QString &caption, LabelLayout::Range range) {
        auto *box = new QSpinBox(m_layoutFields);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(range.low, range.high);
        auto *label = new QLabel(caption, m_layoutFields);
        label->setBuddy(box);
        fields->addWidget(label);
        fields->addWidget(box);
        return box;
    };
    m_rows = field("nrig", QStringLiteral("Numero righe"), LabelLayout::rowRange);
    m_columns = field("ncol", QStringLiteral("Numero colonne"), LabelLayout::columnRange);
    m_rowSpacing = field("IRiga", QStringLiteral("Spazio tra righe"), LabelLayout::spacingRange);
    m_columnSpacing = field("icol", QStringLiteral("Spazio tra col."), LabelLayout::spacingRange);
    m_leftMargin = field("mdestro", QStringLiteral("Margine sinistro"), LabelLayout::marginRange);
    m_topMargin = field("mtop", QStringLiteral("Marg. superiore"), LabelLayout::marginRange);
    tools->addWidget(m_layoutFields);
    tools->addStretch();
    auto button = [&](QWidget *owner, QBoxLayout *row, const QString &caption,
                      void (TFLabels::*handler)()) {
        auto *b = new QPushButton(caption, owner);
        b->setObjectName(caption);
        b->setAutoDefault(false);
        row->addWidget(b);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    button(m_toolbar, tools, QStringLiteral("Stampa"), &TFLabels::BStampaClick);
    button(m_toolbar, tools, QStringLiteral("Uscita"), &TFLabels::BUscitaClick);
    layout->addWidget(m_toolbar);

    // The list area: the two search boxes, the clearing button and the grid.
    m_listArea = new QWidget(this);
    auto *area = new QVBoxLayout(m_listArea);
    area->setContentsMargins(8, 0, 8, 0);
    auto *search = new QHBoxLayout;
    auto searchBox = [&](const char *name, const QString &caption, int length) {
        auto *edit = new QLineEdit(m_listArea);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaxLength(length);
        edit->setValidator(new CapitalsValidator(edit));
        auto *label = new QLabel(caption, m_listArea);
        label->setBuddy(edit);
        search->addWidget(label);
        search->addWidget(edit);
        connect(edit, &QLineEdit::textChanged, this, &TFLabels::searchChanged);
        return edit;
    };
    m_code = searchBox("ECodice", QStringLiteral("Codice"), codeLength);
    m_description = searchBox("EDescrizione", QStringLiteral("Descrizione"), descriptionLength);
    QPushButton *clear =
        button(m_listArea, search, QStringLiteral("Cancella"), &TFLabels::BCancellaClick);
    clear->setToolTip(QStringLiteral("Cancella tutte le quantità inserite"));
    search->addStretch();
    area->addLayout(search);

    m_model = new TableModel(*m_list, this);
    m_model->addColumn(sheet::BARCODE, sheet::BARCODE);
    m_model->addColumn(sheet::DESCRIZION, sheet::DESCRIZION);
    m_model->addColumn(sheet::MARCHIO, sheet::MARCHIO);
    m_model->addColumn(sheet::COLORE, sheet::COLORE);
    m_model->addColumn(sheet::CTAGLIA, sheet::CTAGLIA);
    m_model->setColumnEditable(m_model->addColumn(sheet::PRZVND, sheet::PRZVND, u",0.00"_qs), true);
    m_model->setColumnEditable(m_model->addColumn(sheet::SCONTO, sheet::SCONTO, u"#.##"_qs), true);
    m_model->setColumnEditable(m_model->addColumn(sheet::LABELS, QStringLiteral("Q.tà"), u"#"_qs),
                               true);
    connect(m_model, &TableModel::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
    m_grid = new LabelGrid(m_listArea);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_grid->verticalHeader()->hide();
    area->addWidget(m_grid, 1);
    layout->addWidget(m_listArea, 1);

    auto *optionsRow = new QHBoxLayout;
    optionsRow->setContentsMargins(8, 2, 8, 6);
    auto option = [&](const QString &caption, bool ticked, void (TFLabels::*handler)()) {
        auto *box = new QCheckBox(caption, this);
        box->setObjectName(caption);
        box->setChecked(ticked);
        optionsRow->addWidget(box);
        connect(box, &QCheckBox::clicked, this, handler);
        return box;
    };
    m_barcodeOnly =
        option(QStringLiteral("Stampa solo barcode"), false, &TFLabels::barcodeOnlyClicked);
    m_price = option(QStringLiteral("Stampa il prezzo"), true, &TFLabels::priceClicked);
    m_discounted = option(QStringLiteral("Prezzo scontato"), false, &TFLabels::priceClicked);
    optionsRow->addStretch();
    layout->addLayout(optionsRow);
    connect(m_labelPrinter, &QCheckBox::clicked, this, &TFLabels::labelPrinterClicked);

    // The barcode control draws every label's bars; it is never seen.
    m_barcode = new TPrintBarcode(this);
    m_barcode->setBarCodeType(TBarCodeType::EAN13);
    m_barcode->setAutoSizing(false);
    m_barcode->setAutoPosition(false);
    m_barcode->setMagnification(1.0);
    m_barcode->setColor(Qt::white);
    m_barcode->setBarColor(Qt::black);
    m_barcode->hide();

    FocusHighlighter::install(this);
    resize(900, 560);
}

TFLabels::~TFLabels() = default;

LabelOptions TFLabels::options() const {
    LabelOptions o;
    o.labelPrinter = m_labelPrinter->isChecked();
    o.barcodeOnly = m_barcodeOnly->isChecked();
    o.printPrice = m_price->isChecked();
    o.discountedPrice = m_discounted->isChecked();
    o.priceDay = m_priceDay;
    return o;
}

LabelLayout TFLabels::layout() const {
    LabelLayout l;
    l.rows = m_rows->value();
    l.columns = m_columns->value();
    l.rowSpacing = m_rowSpacing->value();
    l.columnSpacing = m_columnSpacing->value();
    l.leftMargin = m_leftMargin->value();
    l.topMargin = m_topMargin->value();
    return l;
}

void TFLabels::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TFLabels::FormActivate() {
    const LabelLayout l = LabelLayout::read(m_shop.ini());
    m_rows->setValue(l.rows);
    m_columns->setValue(l.columns);
    m_rowSpacing->setValue(l.rowSpacing);
    m_columnSpacing->setValue(l.columnSpacing);
    m_leftMargin->setValue(l.leftMargin);
    m_topMargin->setValue(l.topMargin);
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (!m_list->isOpen())
            m_list->open();
        const QString filter = LabelFilter::build(m_code->text(), m_description->text());
        m_list->setFilter(filter);
        m_list->setFiltered(!filter.isEmpty());
        m_list->first();
    });
    m_model->reload();
}

void TFLabels::done(int result) {
    m_grid->postEdit();
    m_list->close();
    m_model->reload();
    QDialog::done(result);
}

void TFLabels::searchChanged() {
    if (!m_list->isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const QString filter = LabelFilter::build(m_code->text(), m_description->text());
        m_list->setFilter(filter);
        m_list->setFiltered(!filter.isEmpty());
        m_list->first();
    });
    m_model->reload();
}

void TFLabels::setBusy(bool busy) {
    m_toolbar->setEnabled(!busy);
    m_listArea->setEnabled(!busy);
}

void TFLabels::BCancellaClick() {
    if (!m_list->isOpen())
        return;
    m_grid->postEdit();
    setBusy(true);
    {
        WaitCursor wait;
        runReportingEngineErrors(m_shop.prompter(), [&] { LabelList::clearCounts(*m_list); });
        m_model->reload();
        if (m_model->rowCount() > 0)
            m_grid->setCurrentIndex(m_model->index(0, 0));
    }
    setBusy(false);
}

void TFLabels::labelPrinterClicked() {
    m_layoutFields->setVisible(!m_labelPrinter->isChecked());
}

void TFLabels::barcodeOnlyClicked() {
    m_price->setEnabled(LabelOptions::priceEnabled(m_barcodeOnly->isChecked()));
    m_discounted->setEnabled(
        m_price->isEnabled() &&
        LabelOptions::discountEnabled(m_barcodeOnly->isChecked(), m_price->isChecked()));
}

void TFLabels::priceClicked() {
    m_discounted->setEnabled(
        LabelOptions::discountEnabled(m_barcodeOnly->isChecked(), m_price->isChecked()));
}

bool TFLabels::drawWithControl(PageCanvas &canvas, const QRect &bounds, const QString &code) {
    m_barcode->setGeometry(bounds);
    m_barcode->setText(code);
    return m_barcode->DrawBarcode(canvas, 0).result == BarcodeOutcome::Result::Drawn;
}

void TFLabels::BStampaClick() {
    if (!m_list->isOpen())
        return;
    m_grid->postEdit();
    // Only the list is held still: the sheet layout and the options stay
    // readable while the questions and the preview are up.
    m_listArea->setEnabled(false);
    runReportingEngineErrors(m_shop.prompter(), [&] {
        LabelPrinting(m_shop).print(
            *m_list, options(), layout(),
            [this](PageCanvas &canvas, const QRect &bounds, const QString &code) {
                return drawWithControl(canvas, bounds, code);
            });
    });
    m_list->first();
    m_model->reload();
    m_listArea->setEnabled(true);
}

void TFLabels::BUscitaClick() {
    accept();
}

} // namespace corvale
