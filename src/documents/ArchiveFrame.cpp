#include "documents/ArchiveFrame.h"

#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "documents/ArchiveListPrintout.h"
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
#include <QVBoxLayout>

namespace corvale {

namespace {

struct HourGlass {
    HourGlass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourGlass() { QApplication::restoreOverrideCursor(); }
};

} // namespace

ArchiveFrame::ArchiveFrame(Shop &shop, Setup setup, QWidget *parent)
    : DocumentWindow(parent)
    , m_shop(shop)
    , m_setup(std::move(setup))
    , m_headers(std::make_unique<db::Table>(shop.database()))
    , m_lines(std::make_unique<db::Table>(shop.database())) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *band = new TitleBand(m_setup.heading, this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    m_toolbar = new QHBoxLayout;
    m_toolbar->setContentsMargins(8, 4, 8, 4);
    for (const char *caption : {"Nuovo", "Modifica", "Elimina", "Stampa"})
        addButton(QString::fromLatin1(caption));
    m_toolbar->addStretch();
    auto *exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("Uscita"));
    m_toolbar->addWidget(exit);
    layout->addLayout(m_toolbar);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(new QLabel(QStringLiteral("Ordina per"), this));
    m_order = new QComboBox(this);
    m_order->setObjectName(QStringLiteral("OrdinaPer"));
    m_order->addItems({QStringLiteral("Data"), QStringLiteral("Fornitore")});
    bar->addWidget(m_order);
    bar->addWidget(new QLabel(QStringLiteral("Periodo"), this));
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("Periodo"));
    m_period->addItems(PeriodFilter::choices());
    bar->addWidget(m_period);
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
        bar->addWidget(w);
    bar->addStretch();
    layout->addLayout(bar);

    m_headers->setTableName(m_setup.kind.headerTable);
    m_list = new TableGrid(*m_headers, this);
    m_list->setObjectName(QStringLiteral("Lista"));
    m_list->addColumn(doc::RAGSOC, QStringLiteral("Fornitore"));
    m_list->addColumn(doc::DATADOC, QStringLiteral("Data"));
    m_list->addColumn(m_setup.numberField, m_setup.numberCaption);
    m_list->addColumn(doc::NUMPEZZI, QStringLiteral("Pz."));
    m_list->addColumn(doc::TOTALE, QStringLiteral("Totale"), QStringLiteral(",0.00"));
    m_list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
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

    auto *linesBox = new CaptionBox(m_setup.linesCaption, this);
    linesBox->setBackground(shop.folder().file(QStringLiteral("bkgd.BMP")));
    auto *linesLayout = new QVBoxLayout(linesBox);
    m_lines->setTableName(m_setup.kind.lineTable);
    m_lines->setIndexName(m_setup.kind.lineKey);
    m_detail = new TableGrid(*m_lines, linesBox);
    m_detail->setObjectName(QStringLiteral("Dettaglio"));
    m_detail->addColumn(sheet::DESCRIZION, m_setup.articleCaption);
    m_detail->addColumn(sheet::MARCHIO, QStringLiteral("Marchio"));
    m_detail->addColumn(sheet::COLORE, QStringLiteral("Colore"));
    m_detail->addColumn(sheet::CTAGLIA, QStringLiteral("Taglia"));
    m_detail->addColumn(sheet::QUANTITA, QStringLiteral("Q.tà"), QStringLiteral("#"));
    m_detail->addColumn(sheet::PREZZO, QStringLiteral("Prezzo"), QStringLiteral(",0.00"));
    m_detail->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    linesLayout->addWidget(m_detail);
    layout->addWidget(linesBox, 2);

    connect(m_order, &QComboBox::currentIndexChanged, this, &ArchiveFrame::orderChanged);
    connect(m_period, &QComboBox::currentIndexChanged, this, &ArchiveFrame::periodChanged);
    connect(m_from, &QLineEdit::editingFinished, this, [this] { applyFilter(); });
    connect(m_to, &QLineEdit::editingFinished, this, [this] { applyFilter(); });
    connect(m_list, &TableGrid::currentRecordChanged, m_detail, &TableGrid::reload);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { BModificaClick(); });
    connect(findChild<QPushButton *>(QStringLiteral("Nuovo")), &QPushButton::clicked, this,
            [this] { BNuovoClick(); });
    connect(findChild<QPushButton *>(QStringLiteral("Modifica")), &QPushButton::clicked, this,
            [this] { BModificaClick(); });
    connect(findChild<QPushButton *>(QStringLiteral("Elimina")), &QPushButton::clicked, this,
            [this] { BEliminaClick(); });
    connect(findChild<QPushButton *>(QStringLiteral("Stampa")), &QPushButton::clicked, this,
            &ArchiveFrame::BStampaClick);
    connect(exit, &QPushButton::clicked, this, &ArchiveFrame::BUscitaClick);
    FocusHighlighter::install(this);
}

ArchiveFrame::~ArchiveFrame() = default;

QPushButton *ArchiveFrame::addButton(const QString &caption) {
    auto *b = new QPushButton(caption, this);
    b->setObjectName(caption);
    b->setMinimumWidth(90);
    m_toolbar->insertWidget(m_buttons++, b);
    return b;
}

void ArchiveFrame::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void ArchiveFrame::FormActivate() {
    m_opening = true;
    const QDate today = m_shop.clock().today();
    m_from->setText(Formats::formatDate(QDate(today.year(), 1, 1)));
    m_to->setText(Formats::formatDate(today));
    m_extra.clear();
    opening();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_headers->close();
        m_headers->open();
        m_lines->close();
        m_lines->open();
        m_lines->setMasterSource(m_headers.get(), doc::NUMREG);
    });
    m_period->setCurrentIndex(int(PeriodFilter::Period::CurrentMonth));
    m_order->setCurrentIndex(1);
    m_opening = false;
    orderChanged();
}

PeriodFilter::Period ArchiveFrame::period() const {
    return PeriodFilter::periodAt(std::max(0, m_period->currentIndex()));
}

void ArchiveFrame::orderChanged() {
    if (m_opening || !m_headers->isOpen())
        return;
    m_headers->setIndexName(m_order->currentIndex() == 0 ? doc::MYDATA : doc::RAGSOC);
    applyFilter();
}

void ArchiveFrame::periodChanged() {
    const bool range = period() == PeriodFilter::Period::Range;
    for (QWidget *w : {static_cast<QWidget *>(m_fromCaption), static_cast<QWidget *>(m_from),
                       static_cast<QWidget *>(m_toCaption), static_cast<QWidget *>(m_to)})
        w->setVisible(range);
    if (!m_opening)
        applyFilter();
}

bool ArchiveFrame::applyFilter() {
    if (!m_headers->isOpen())
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
    HourGlass wait;
    return runReportingEngineErrors(m_shop.prompter(), [&] {
        const QString text =
            PeriodFilter::filterText(period(), m_shop.clock().today(), from, to, m_extra);
        m_headers->setFilter(text);
        m_headers->setFiltered(!text.isEmpty());
        m_headers->first();
        m_list->reload();
        m_detail->reload();
        computeSum();
    });
}

void ArchiveFrame::computeSum() {
    m_sum = 0;
    db::Table walker(m_shop.database());
    walker.setTableName(m_setup.kind.headerTable);
    walker.open();
    walker.setFilter(m_headers->filter());
    walker.setFiltered(m_headers->isFiltered());
    for (walker.first(); !walker.eof(); walker.next())
        m_sum += walker.asFloat(doc::TOTALE);
    m_sumLabel->setText(Formats::format(u"%10.2n", m_sum) + QLatin1Char(' '));
}

qint64 ArchiveFrame::selectedKey() {
    if (!m_headers->isOpen() || m_list->isEmpty() || m_headers->recordNumber() == 0)
        return 0;
    return m_headers->asInteger(doc::NUMREG);
}

void ArchiveFrame::refreshList() {
    if (!m_headers->isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_headers->refresh();
        m_list->reload();
        m_detail->reload();
        computeSum();
    });
}

void ArchiveFrame::receiveNotification(int code) {
    if (code == 0 || code == 1)
        refreshList();
}

void ArchiveFrame::BStampaClick() {
    if (!m_headers->isOpen())
        return;
    ArchiveListPrintout printout;
    printout.nameLine1 = m_shop.texts().nameLine1;
    printout.nameLine2 = m_shop.texts().nameLine2;
    printout.title = PeriodFilter::title(period(), m_shop.clock().today(), m_from->text(),
                                         m_to->text(), m_setup.noun);
    printout.sum = m_sum;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        db::Table walker(m_shop.database());
        walker.setTableName(m_setup.kind.headerTable);
        walker.setIndexName(m_headers->indexName());
        walker.open();
        walker.setFilter(m_headers->filter());
        walker.setFiltered(m_headers->isFiltered());
        for (walker.first(); !walker.eof(); walker.next())
            printout.rows << ArchiveListPrintout::Row{
                walker.asString(doc::RAGSOC), walker.asString(m_setup.numberField),
                walker.asString(doc::DATADOC), walker.asFloat(doc::TOTALE)};
    });
    m_shop.printService().print(m_setup.heading,
                                [printout](PageCanvas &canvas) { printout.draw(canvas); });
}

void ArchiveFrame::closeTables() {
    m_lines->setMasterSource(nullptr);
    m_lines->close();
    m_headers->close();
}

void ArchiveFrame::BUscitaClick() {
    closeTables();
    finish();
}

} // namespace corvale
