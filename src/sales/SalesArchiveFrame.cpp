#include "sales/SalesArchiveFrame.h"

#include "catalogue/StockRoutines.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "documents/DocumentSaver.h"
#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "printing/PrintService.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "widgets/CaptionBox.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/TitleBand.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace corvale {

namespace {

struct HourGlass {
    HourGlass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourGlass() { QApplication::restoreOverrideCursor(); }
};

// Draws a column of the list in bold, as the totals are shown.
class BoldColumn : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->font.setBold(true);
    }
};

void addColumns(TableGrid &grid, const QList<SalesArchiveFrame::Column> &columns) {
    for (const SalesArchiveFrame::Column &c : columns) {
        const int index = grid.addColumn(c.field, c.title, c.format, c.width);
        if (c.bold)
            grid.setItemDelegateForColumn(index, new BoldColumn(&grid));
    }
}

SalesArchivePrintout::Period printedPeriod(PeriodFilter::Period period) {
    switch (period) {
    case PeriodFilter::Period::Any:
        return SalesArchivePrintout::Period::Any;
    case PeriodFilter::Period::CurrentYear:
        return SalesArchivePrintout::Period::Year;
    case PeriodFilter::Period::CurrentMonth:
        return SalesArchivePrintout::Period::Month;
    case PeriodFilter::Period::Range:
        break;
    }
    return SalesArchivePrintout::Period::Range;
}

} // namespace

SalesArchiveFrame::SalesArchiveFrame(Shop &shop, Setup setup, QWidget *parent)
    : DocumentWindow(parent)
    , m_shop(shop)
    , m_setup(std::move(setup))
    , m_headers(std::make_unique<db::Table>(shop.database()))
    , m_lines(std::make_unique<db::Table>(shop.database())) {
    setWindowTitle(m_setup.windowTitle);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *title = new TitleBand(m_setup.heading, this);
    title->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(title);

    m_toolbar = new QHBoxLayout;
    m_toolbar->setContentsMargins(8, 4, 8, 4);
    connect(addButton(QStringLiteral("Nuova"), m_setup.newHint), &QPushButton::clicked, this,
            &SalesArchiveFrame::BNuovaClick);
    connect(addButton(QStringLiteral("Modifica"), m_setup.editHint), &QPushButton::clicked, this,
            &SalesArchiveFrame::BModificaClick);
    connect(addButton(QStringLiteral("Elimina"), m_setup.deleteHint), &QPushButton::clicked, this,
            &SalesArchiveFrame::BEliminaClick);
    auto *print = new QPushButton(QStringLiteral("Stampa"), this);
    print->setObjectName(QStringLiteral("Stampa"));
    print->setMinimumWidth(90);
    m_toolbar->addWidget(print);
    m_toolbar->addStretch();
    auto *exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("Uscita"));
    m_toolbar->addWidget(exit);
    layout->addLayout(m_toolbar);

    m_band = new QHBoxLayout;
    m_band->setContentsMargins(8, 0, 8, 0);
    m_band->addWidget(new QLabel(QStringLiteral("Data"), this));
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("Periodo"));
    m_period->addItems(PeriodFilter::choices());
    m_band->addWidget(m_period);
    m_fromCaption = new QLabel(QStringLiteral("DAL"), this);
    m_from = new QLineEdit(this);
    m_from->setObjectName(QStringLiteral("DAL"));
    m_from->setMaxLength(10);
    m_toCaption = new QLabel(QStringLiteral("AL"), this);
    m_to = new QLineEdit(this);
    m_to->setObjectName(QStringLiteral("AL"));
    m_to->setMaxLength(10);
    for (QWidget *w : {static_cast<QWidget *>(m_fromCaption), static_cast<QWidget *>(m_from),
                       static_cast<QWidget *>(m_toCaption), static_cast<QWidget *>(m_to)})
        m_band->addWidget(w);
    m_band->addStretch();
    layout->addLayout(m_band);

    m_headers->setTableName(m_setup.kind.headerTable);
    m_list = new TableGrid(*m_headers, this);
    m_list->setObjectName(QStringLiteral("Lista"));
    addColumns(*m_list, m_setup.listColumns);
    layout->addWidget(m_list, 3);

    auto *sumRow = new QHBoxLayout;
    sumRow->setContentsMargins(8, 0, 8, 0);
    sumRow->addStretch();
    sumRow->addWidget(new QLabel(QStringLiteral("Totale"), this));
    m_sumLabel = new QLabel(this);
    m_sumLabel->setObjectName(QStringLiteral("Somma"));
    m_sumLabel->setFrameShape(QFrame::Panel);
    m_sumLabel->setFrameShadow(QFrame::Sunken);
    m_sumLabel->setMinimumWidth(120);
    m_sumLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    sumRow->addWidget(m_sumLabel);
    layout->addLayout(sumRow);

    auto *linesBox = new CaptionBox(QStringLiteral("DETTAGLIO VENDITA"), this);
    linesBox->setBackground(shop.folder().file(QStringLiteral("bkgd.BMP")));
    auto *linesLayout = new QVBoxLayout(linesBox);
    m_lines->setTableName(m_setup.kind.lineTable);
    m_lines->setIndexName(m_setup.kind.lineKey);
    m_detail = new TableGrid(*m_lines, linesBox);
    m_detail->setObjectName(QStringLiteral("Dettaglio"));
    addColumns(*m_detail, m_setup.detailColumns);
    m_detail->horizontalHeader()->setSectionResizeMode(m_setup.stretchedDetailColumn,
                                                       QHeaderView::Stretch);
    linesLayout->addWidget(m_detail);
    layout->addWidget(linesBox, 2);

    connect(m_period, &QComboBox::currentIndexChanged, this, &SalesArchiveFrame::periodChanged);
    connect(m_from, &QLineEdit::editingFinished, this, &SalesArchiveFrame::applyPeriod);
    connect(m_to, &QLineEdit::editingFinished, this, &SalesArchiveFrame::applyPeriod);
    connect(m_list, &TableGrid::currentRecordChanged, m_detail, &TableGrid::reload);
    connect(m_list, &QAbstractItemView::doubleClicked, this, &SalesArchiveFrame::BModificaClick);
    connect(print, &QPushButton::clicked, this, &SalesArchiveFrame::BStampaClick);
    connect(exit, &QPushButton::clicked, this, &SalesArchiveFrame::BUscitaClick);
    FocusHighlighter::install(this);
}

SalesArchiveFrame::~SalesArchiveFrame() = default;

QPushButton *SalesArchiveFrame::addButton(const QString &caption, const QString &hint) {
    auto *b = new QPushButton(caption, this);
    b->setObjectName(caption);
    b->setToolTip(hint);
    b->setMinimumWidth(90);
    m_toolbar->insertWidget(m_buttons++, b);
    return b;
}

QString SalesArchiveFrame::orderTag() const {
    return doc::MYDATA;
}

void SalesArchiveFrame::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void SalesArchiveFrame::FormActivate() {
    m_busy = true;
    m_today = m_shop.clock().today();
    m_condition.clear();
    opening();
    const bool open = runReportingEngineErrors(m_shop.prompter(), [&] {
        closeTables();
        m_headers->open();
        m_lines->open();
        m_lines->setMasterSource(m_headers.get(), doc::NUMREG);
    });
    m_busy = false;
    if (open)
        applyPeriod();
}

PeriodFilter::Period SalesArchiveFrame::period() const {
    return PeriodFilter::periodAt(std::max(0, m_period->currentIndex()));
}

void SalesArchiveFrame::setPeriod(PeriodFilter::Period period) {
    m_period->setCurrentIndex(int(period));
    // The boxes follow the choice also when the index did not change.
    periodChanged();
}

void SalesArchiveFrame::setDates(const QDate &from, const QDate &to) {
    m_from->setText(Formats::formatDate(from));
    m_to->setText(Formats::formatDate(to));
}

void SalesArchiveFrame::periodChanged() {
    const bool range = period() == PeriodFilter::Period::Range;
    for (QWidget *w : {static_cast<QWidget *>(m_fromCaption), static_cast<QWidget *>(m_from),
                       static_cast<QWidget *>(m_toCaption), static_cast<QWidget *>(m_to)})
        w->setVisible(range);
    applyPeriod();
}

bool SalesArchiveFrame::applyPeriod() {
    if (m_busy || !m_headers->isOpen())
        return false;
    QString from, to;
    if (period() == PeriodFilter::Period::Range) {
        from = CommonRoutines::DateKey(m_from->text());
        to = CommonRoutines::DateKey(m_to->text());
        for (const auto &[key, edit] : {std::pair{from, m_from}, std::pair{to, m_to}}) {
            if (key == QLatin1String("errore")) {
                m_shop.prompter().error(QStringLiteral("Data non valida: ") + edit->text());
                return false;
            }
        }
    }
    SalesArchiveSelection selection;
    selection.tag = orderTag();
    selection.keys = SalesArchiveSelection::periodKeys(period(), m_today, from, to);
    selection.condition = m_condition;
    m_busy = true;
    HourGlass wait;
    const bool done = runReportingEngineErrors(m_shop.prompter(), [&] {
        selection.applyTo(*m_headers);
        m_selection = selection;
        m_list->reload();
        m_detail->reload();
    });
    m_busy = false;
    computeSum();
    return done;
}

void SalesArchiveFrame::computeSum() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sum =
            m_headers->isOpen() ? m_selection.sum(m_shop.database(), m_setup.kind.headerTable) : 0;
    });
    m_sumLabel->setText(Formats::format(u"%10.2n", m_sum) + QLatin1Char(' '));
}

qint64 SalesArchiveFrame::selectedKey() {
    if (!m_headers->isOpen() || m_list->isEmpty() || m_headers->recordNumber() == 0)
        return 0;
    return m_headers->asInteger(doc::NUMREG);
}

void SalesArchiveFrame::refreshList() {
    if (!m_headers->isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_headers->refresh();
        m_list->reload();
        m_detail->reload();
    });
    computeSum();
}

void SalesArchiveFrame::receiveNotification(int code) {
    if (code < 2)
        refreshList();
}

void SalesArchiveFrame::BNuovaClick() {
    openDocument(0);
}

void SalesArchiveFrame::BModificaClick() {
    const qint64 key = selectedKey();
    if (key != 0)
        openDocument(key);
}

void SalesArchiveFrame::BEliminaClick() {
    const qint64 key = selectedKey();
    if (key == 0)
        return;
    if (!m_shop.prompter().confirm(m_setup.deleteQuestion))
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        StockRoutines stock(m_shop.database());
        DocumentSaver saver(m_shop.database(), stock, m_shop.routines(), m_setup.kind);
        saver.remove(*m_headers, key);
    });
    refreshList();
}

void SalesArchiveFrame::BStampaClick() {
    if (!m_headers->isOpen())
        return;
    SalesArchivePrintout printout;
    printout.layout = m_setup.layout;
    printout.nameLine1 = m_shop.texts().nameLine1;
    printout.nameLine2 = m_shop.texts().nameLine2;
    printout.title = SalesArchivePrintout::titleFor(
        m_setup.layout, printedPeriod(period()), m_today.toString(QStringLiteral("yyyy")),
        m_today.toString(QStringLiteral("MM")), m_from->text(), m_to->text());
    printout.sum = m_sum;
    const bool read = runReportingEngineErrors(m_shop.prompter(), [&] {
        m_selection.walk(m_shop.database(), m_setup.kind.headerTable, [&](const db::Table &t) {
            printout.rows << SalesArchivePrintout::Row{
                t.hasField(doc::RAGSOC) ? t.asString(doc::RAGSOC).trimmed() : QString(),
                t.asString(doc::NUMDOC).trimmed(), Formats::formatDate(t.asDate(doc::DATADOC)),
                t.asFloat(doc::TOTALE)};
        });
    });
    if (!read)
        return;
    m_shop.printService().print(m_setup.heading,
                                [printout](PageCanvas &canvas) { printout.draw(canvas); });
}

void SalesArchiveFrame::closeTables() {
    m_lines->setMasterSource(nullptr);
    m_lines->close();
    m_headers->close();
}

void SalesArchiveFrame::BUscitaClick() {
    m_busy = true;
    closeTables();
    finish();
}

} // namespace corvale
