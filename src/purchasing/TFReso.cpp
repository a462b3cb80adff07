#include "purchasing/TFReso.h"

#include "catalogue/ContactColumns.h"
#include "catalogue/SizeCurve.h"
#include "db/Table.h"
#include "documents/DocumentPrintout.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"
#include "documents/SheetGrid.h"
#include "documents/SizePanel.h"
#include "platform/EngineError.h"
#include "printing/PrintService.h"
#include "purchasing/ContactChoice.h"
#include "purchasing/ReturnPrintout.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "widgets/LookupCombo.h"

#include <QLineEdit>

namespace corvale {

namespace {

SupplierDocumentWindow::Form formOf(TFReso::Mode mode) {
    const bool order = mode == TFReso::Mode::Order;
    SupplierDocumentWindow::Form form;
    form.windowName = QStringLiteral("TFReso");
    form.heading = order ? QStringLiteral("ORDINE FORNITORE") : QStringLiteral("RESO FORNITORE");
    form.noun = order ? QStringLiteral("Ordine") : QStringLiteral("Reso");
    form.numberCaption = order ? QStringLiteral("N° Ordine") : QStringLiteral("N° Reso");
    form.numberName = QStringLiteral("Numero");
    form.dateError = order ? QStringLiteral("La data dell'ordine non è valida!")
                           : QStringLiteral("La data del reso non è valida!");
    form.sizeTypeCaption = QStringLiteral("TARGET");
    // A new article is made while ordering, not while sending goods back.
    form.newArticle = order;
    return form;
}

DocumentKind kindOf(TFReso::Mode mode) {
    return mode == TFReso::Mode::Order ? DocumentKind::supplierOrder()
                                       : DocumentKind::supplierReturn();
}

} // namespace

TFReso::TFReso(Shop &shop, Mode mode, QWidget *parent)
    : SupplierDocumentWindow(shop, kindOf(mode), false, formOf(mode), parent)
    , DocumentMode(mode) {
    if (DocumentMode == Mode::Order) {
        m_panel->offerCurve(true);
        connect(m_panel, &SizePanel::curveClicked, this, &TFReso::BCurvaClick);
    }
}

TFReso::~TFReso() = default;

void TFReso::BCurvaClick() {
    if (!m_sheet->currentRowHasArticle())
        return;
    const auto typed = m_shop.prompter().input(
        QStringLiteral("Curva taglie"), QStringLiteral("Distribuisci N pezzi secondo la curva"));
    if (!typed)
        return;
    bool ok = false;
    const qint64 pieces = typed->trimmed().toLongLong(&ok);
    if (!ok || pieces <= 0 || pieces > 99999) {
        m_shop.prompter().error(
            QStringLiteral("Indicare un numero intero di pezzi maggiore di zero."));
        return;
    }
    runReportingEngineErrors(m_shop.prompter(), [&] {
        SizeRunSelection selection;
        selection.sizeType = qint64(m_sheet->currentRow().number(sheet::TIPOTAGLIA));
        const QDate today = m_shop.clock().today();
        const SizeCurve curve =
            SizeCurve::compute(m_shop.database(), selection, today.addYears(-1).addDays(1), today);
        // Only the sizes the panel shows take pieces.
        SizeCurve::Counts weights{};
        for (int p = 1; p <= SizeTypeCore::positions; ++p)
            if (curve.type.isUsed(p))
                weights[size_t(p - 1)] = curve.sold[size_t(p - 1)];
        const auto quantities = distributeByLargestRemainder(weights, pieces);
        if (!quantities) {
            m_shop.prompter().error(QStringLiteral(
                "Nessuna vendita di questo tipo taglia nell'ultimo anno: la curva è vuota."));
            return;
        }
        m_panel->setQuantities(*quantities);
    });
}

void TFReso::BStampaClick() {
    if (!m_suppliers->require())
        return;
    const auto answer = m_shop.prompter().confirmWithCancel(QStringLiteral("Stampare i prezzi?"));
    if (answer == Prompter::Answer::Cancel)
        return;
    ReturnPrintout printout;
    printout.isOrder = DocumentMode == Mode::Order;
    printout.withPrices = answer == Prompter::Answer::Yes;
    const bool ready = runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sheet->postPending();
        computeTotals();
        printout.rows = m_sheet->allLines();
        const SheetTotals totals = LineSheet::totalsOf(printout.rows, 0);
        printout.taxable = totals.taxable;
        printout.tax = totals.tax;
        printout.total = totals.total;
        db::Table supplier(m_shop.database());
        namespace c = contactColumns;
        supplier.setTableName(c::suppliers);
        supplier.setIndexName(c::code);
        supplier.open();
        if (supplier.findKey(*m_suppliers->chosen())) {
            printout.address = supplier.asString(c::address);
            if (!supplier.isNull(c::cap))
                printout.postcode = QString::number(supplier.asInteger(c::cap));
            printout.town = supplier.asString(c::city);
            printout.vatNumber = supplier.asString(c::vatOrFiscalCode);
        }
    });
    if (!ready)
        return;
    m_sheet->table().first();
    m_grid->reload();
    printout.supplier = m_supplier->currentText();
    printout.numberText = m_number->text();
    printout.dateText = m_date->text();
    printout.noteText = m_shop.texts().noteText;
    printout.privacyText = m_shop.texts().privacyText;
    CommonRoutines &routines = m_shop.routines();
    documentprint::printCopies(
        routines, m_shop.printService(),
        printout.isOrder ? QStringLiteral("Ordine") : QStringLiteral("Reso"),
        [printout, &routines](PageCanvas &canvas) { printout.draw(canvas, routines); });
}

} // namespace corvale
