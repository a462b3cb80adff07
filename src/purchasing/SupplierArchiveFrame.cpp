#include "purchasing/SupplierArchiveFrame.h"

#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "documents/ArchiveListPrintout.h"
#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "printing/PrintService.h"
#include "shell/Shop.h"
#include "widgets/WaitCursor.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

namespace corvale {

SupplierArchiveFrame::SupplierArchiveFrame(Shop &shop, Setup setup, QWidget *parent)
    : ArchiveFrame(shop,
                   Frame{setup.heading, QStringLiteral("Periodo"), setup.linesCaption, setup.kind},
                   parent)
    , m_setup(std::move(setup)) {
    QPushButton *create = addButton(QStringLiteral("Nuovo"));
    QPushButton *edit = addButton(QStringLiteral("Modifica"));
    QPushButton *remove = addButton(QStringLiteral("Elimina"));
    QPushButton *print = addButton(QStringLiteral("Stampa"));

    band()->insertWidget(0, new QLabel(QStringLiteral("Ordina per"), this));
    m_order = new QComboBox(this);
    m_order->setObjectName(QStringLiteral("OrdinaPer"));
    m_order->addItems({QStringLiteral("Data"), QStringLiteral("Fornitore")});
    band()->insertWidget(1, m_order);

    list().addColumn(doc::RAGSOC, QStringLiteral("Fornitore"));
    list().addColumn(doc::DATADOC, QStringLiteral("Data"));
    list().addColumn(m_setup.numberField, m_setup.numberCaption);
    list().addColumn(doc::NUMPEZZI, QStringLiteral("Pz."));
    list().addColumn(doc::TOTALE, QStringLiteral("Totale"), QStringLiteral(",0.00"));
    list().horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    detail().addColumn(sheet::DESCRIZION, m_setup.articleCaption);
    detail().addColumn(sheet::MARCHIO, QStringLiteral("Marchio"));
    detail().addColumn(sheet::COLORE, QStringLiteral("Colore"));
    detail().addColumn(sheet::CTAGLIA, QStringLiteral("Taglia"));
    detail().addColumn(sheet::QUANTITA, QStringLiteral("Q.tà"), QStringLiteral("#"));
    detail().addColumn(sheet::PREZZO, QStringLiteral("Prezzo"), QStringLiteral(",0.00"));
    detail().horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);

    connect(m_order, &QComboBox::currentIndexChanged, this, &SupplierArchiveFrame::orderChanged);
    connect(&list(), &QAbstractItemView::doubleClicked, this, [this] { BModificaClick(); });
    connect(create, &QPushButton::clicked, this, [this] { BNuovoClick(); });
    connect(edit, &QPushButton::clicked, this, [this] { BModificaClick(); });
    connect(remove, &QPushButton::clicked, this, [this] { BEliminaClick(); });
    connect(print, &QPushButton::clicked, this, &SupplierArchiveFrame::BStampaClick);
}

SupplierArchiveFrame::~SupplierArchiveFrame() = default;

void SupplierArchiveFrame::activate() {
    m_opening = true;
    const QDate today = shop().clock().today();
    setDates(QDate(today.year(), 1, 1), today);
    m_extra.clear();
    opening();
    openTables();
    setPeriod(PeriodFilter::Period::CurrentMonth);
    m_order->setCurrentIndex(1);
    m_opening = false;
    orderChanged();
}

void SupplierArchiveFrame::orderChanged() {
    if (m_opening || !headers().isOpen())
        return;
    headers().setIndexName(m_order->currentIndex() == 0 ? doc::MYDATA : doc::RAGSOC);
    applyFilter();
}

bool SupplierArchiveFrame::applyPeriod() {
    return !m_opening && applyFilter();
}

bool SupplierArchiveFrame::applyFilter() {
    if (!headers().isOpen())
        return false;
    const std::optional<DateKeys> keys = rangeKeys();
    if (!keys)
        return false;
    WaitCursor wait;
    const bool done = runReportingEngineErrors(shop().prompter(), [&] {
        const QString text = PeriodFilter::filterText(period(), shop().clock().today(), keys->from,
                                                      keys->to, m_extra);
        headers().setFilter(text);
        headers().setFiltered(!text.isEmpty());
        headers().first();
        list().reload();
        detail().reload();
    });
    if (done)
        computeSum();
    return done;
}

void SupplierArchiveFrame::computeSum() {
    double sum = 0;
    runReportingEngineErrors(shop().prompter(), [&] {
        db::Table walker(shop().database());
        walker.setTableName(kind().headerTable);
        walker.open();
        walker.setFilter(headers().filter());
        walker.setFiltered(headers().isFiltered());
        for (walker.first(); !walker.eof(); walker.next())
            sum += walker.asFloat(doc::TOTALE);
    });
    setSum(sum);
}

void SupplierArchiveFrame::BStampaClick() {
    if (!headers().isOpen())
        return;
    ArchiveListPrintout printout;
    printout.nameLine1 = shop().texts().nameLine1;
    printout.nameLine2 = shop().texts().nameLine2;
    printout.title =
        PeriodFilter::title(period(), shop().clock().today(), fromText(), toText(), m_setup.noun);
    printout.sum = sum();
    runReportingEngineErrors(shop().prompter(), [&] {
        db::Table walker(shop().database());
        walker.setTableName(kind().headerTable);
        walker.setIndexName(headers().indexName());
        walker.open();
        walker.setFilter(headers().filter());
        walker.setFiltered(headers().isFiltered());
        for (walker.first(); !walker.eof(); walker.next())
            printout.rows << ArchiveListPrintout::Row{
                walker.asString(doc::RAGSOC), walker.asString(m_setup.numberField),
                walker.asString(doc::DATADOC), walker.asFloat(doc::TOTALE)};
    });
    shop().printService().print(m_setup.heading,
                                [printout](PageCanvas &canvas) { printout.draw(canvas); });
}

} // namespace corvale
