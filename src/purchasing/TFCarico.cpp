#include "purchasing/TFCarico.h"

#include "db/Table.h"
#include "documents/DocumentPrintout.h"
#include "documents/LineSheet.h"
#include "documents/SheetGrid.h"
#include "platform/EngineError.h"
#include "platform/NotYetAvailable.h"
#include "printing/PrintService.h"
#include "purchasing/ContactChoice.h"
#include "purchasing/ReceiptPrintout.h"
#include "shell/Shop.h"
#include "widgets/LookupCombo.h"
#include "widgets/TitleBand.h"

#include <QLineEdit>
#include <QPushButton>

namespace corvale {

namespace {

SupplierDocumentWindow::Form receiptForm() {
    SupplierDocumentWindow::Form form;
    form.windowName = QStringLiteral("TFCarico");
    form.heading = QStringLiteral("ACQUISTO");
    form.noun = QStringLiteral("Carico");
    form.numberCaption = QStringLiteral("N° Carico");
    form.numberName = QStringLiteral("NCarico");
    form.dateError = QStringLiteral("La data del carico non è valida!");
    form.sizeTypeCaption = QStringLiteral("TIPO TAGLIA");
    form.supplierDocument = true;
    form.documentDiscount = true;
    form.labels = true;
    return form;
}

} // namespace

TFCarico::TFCarico(Shop &shop, QWidget *parent)
    : SupplierDocumentWindow(shop, DocumentKind::receipt(), true, receiptForm(), parent) {
    connect(m_labelsButton, &QPushButton::clicked, this, &TFCarico::BEtichetteClick);
}

TFCarico::~TFCarico() = default;

void TFCarico::BStampaClick() {
    if (!m_suppliers->require())
        return;
    ReceiptPrintout printout;
    const bool ready = runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sheet->postPending();
        computeTotals();
        printout.rows = m_sheet->allLines();
        const SheetTotals totals = LineSheet::totalsOf(printout.rows, discount());
        printout.taxable = totals.taxable;
        printout.tax = totals.tax;
        printout.total = totals.total;
    });
    if (!ready)
        return;
    m_sheet->table().first();
    m_grid->reload();
    printout.nameLine1 = m_shop.texts().nameLine1;
    printout.nameLine2 = m_shop.texts().nameLine2;
    printout.supplier = m_supplier->currentText();
    printout.supplierDocument = m_supplierDocument->text();
    printout.dateText = m_date->text();
    printout.heading = m_band->heading();
    printout.discount = discount();
    documentprint::printCopies(m_shop.routines(), m_shop.printService(), QStringLiteral("Carico"),
                               [printout](PageCanvas &canvas) { printout.draw(canvas); });
}

void TFCarico::BEtichetteClick() {
    if (!m_shop.prompter().confirm(
            QStringLiteral("Stampare le etichette relative\ragli articoli presenti nel carico?")))
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sheet->setLabelsFromQuantities();
        m_sheet->table().first();
        m_grid->reload();
    });
    // The label window reads the sheet as it is now and may correct its
    // prices and counts, which the grid then shows.
    if (!m_labels) {
        reportNotYetAvailable(m_shop.prompter());
        return;
    }
    m_labels();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sheet->table().first();
        m_grid->reload();
    });
}

} // namespace corvale
