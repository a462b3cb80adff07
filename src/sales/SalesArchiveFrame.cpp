#include "sales/SalesArchiveFrame.h"

#include "catalogue/StockRoutines.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "documents/DocumentSaver.h"
#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "printing/PrintService.h"
#include "shell/Shop.h"
#include "widgets/FormKit.h"
#include "widgets/WaitCursor.h"

#include <QHeaderView>
#include <QPushButton>
#include <QStyledItemDelegate>

namespace corvale {

namespace {

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
    : ArchiveFrame(shop,
                   Frame{setup.heading, QStringLiteral("Data"), QStringLiteral("DETTAGLIO VENDITA"),
                         setup.kind},
                   parent)
    , m_setup(std::move(setup)) {
    setWindowTitle(m_setup.windowTitle);
    connect(addButton(QStringLiteral("Nuova"), m_setup.newHint), &QPushButton::clicked, this,
            &SalesArchiveFrame::BNuovaClick);
    connect(addButton(QStringLiteral("Modifica"), m_setup.editHint), &QPushButton::clicked, this,
            &SalesArchiveFrame::BModificaClick);
    connect(addButton(QStringLiteral("Elimina"), m_setup.deleteHint), &QPushButton::clicked, this,
            &SalesArchiveFrame::BEliminaClick);
    QPushButton *print = formkit::button(QStringLiteral("Stampa"), this, nullptr, {}, 0);
    placeAfterButtons(print);

    addColumns(list(), m_setup.listColumns);
    addColumns(detail(), m_setup.detailColumns);
    detail().horizontalHeader()->setSectionResizeMode(m_setup.stretchedDetailColumn,
                                                      QHeaderView::Stretch);

    connect(&list(), &QAbstractItemView::doubleClicked, this, &SalesArchiveFrame::BModificaClick);
    connect(print, &QPushButton::clicked, this, &SalesArchiveFrame::BStampaClick);
}

SalesArchiveFrame::~SalesArchiveFrame() = default;

QString SalesArchiveFrame::orderTag() const {
    return doc::MYDATA;
}

void SalesArchiveFrame::activate() {
    m_busy = true;
    m_today = shop().clock().today();
    m_condition.clear();
    opening();
    const bool open = openTables();
    m_busy = false;
    if (open)
        applyPeriod();
}

bool SalesArchiveFrame::applyPeriod() {
    if (m_busy || !headers().isOpen())
        return false;
    const std::optional<DateKeys> keys = rangeKeys();
    if (!keys)
        return false;
    SalesArchiveSelection selection;
    selection.tag = orderTag();
    selection.keys = SalesArchiveSelection::periodKeys(period(), m_today, keys->from, keys->to);
    selection.condition = m_condition;
    m_busy = true;
    WaitCursor wait;
    const bool done = runReportingEngineErrors(shop().prompter(), [&] {
        selection.applyTo(headers());
        m_selection = selection;
        list().reload();
        detail().reload();
    });
    m_busy = false;
    computeSum();
    return done;
}

void SalesArchiveFrame::computeSum() {
    double sum = 0;
    runReportingEngineErrors(shop().prompter(), [&] {
        sum = headers().isOpen() ? m_selection.sum(shop().database(), m_setup.kind.headerTable) : 0;
    });
    setSum(sum);
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
    if (!shop().prompter().confirm(m_setup.deleteQuestion))
        return;
    runReportingEngineErrors(shop().prompter(), [&] {
        StockRoutines stock(shop().database());
        DocumentSaver saver(shop().database(), stock, shop().routines(), m_setup.kind);
        saver.remove(headers(), key);
    });
    refreshList();
}

void SalesArchiveFrame::BStampaClick() {
    if (!headers().isOpen())
        return;
    SalesArchivePrintout printout;
    printout.layout = m_setup.layout;
    printout.nameLine1 = shop().texts().nameLine1;
    printout.nameLine2 = shop().texts().nameLine2;
    printout.title = SalesArchivePrintout::titleFor(
        m_setup.layout, printedPeriod(period()), m_today.toString(QStringLiteral("yyyy")),
        m_today.toString(QStringLiteral("MM")), fromText(), toText());
    printout.sum = sum();
    const bool read = runReportingEngineErrors(shop().prompter(), [&] {
        m_selection.walk(shop().database(), m_setup.kind.headerTable, [&](const db::Table &t) {
            printout.rows << SalesArchivePrintout::Row{
                t.hasField(doc::RAGSOC) ? t.asString(doc::RAGSOC).trimmed() : QString(),
                t.asString(doc::NUMDOC).trimmed(), Formats::formatDate(t.asDate(doc::DATADOC)),
                t.asFloat(doc::TOTALE)};
        });
    });
    if (!read)
        return;
    shop().printService().print(m_setup.heading,
                                [printout](PageCanvas &canvas) { printout.draw(canvas); });
}

} // namespace corvale
