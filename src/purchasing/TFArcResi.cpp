#include "purchasing/TFArcResi.h"

#include "catalogue/StockRoutines.h"
#include "documents/DocumentSaver.h"
#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "purchasing/TFReso.h"
#include "shell/Shop.h"

namespace corvale {

namespace {

SupplierArchiveFrame::Setup returnsArchive() {
    return {QStringLiteral("ARCHIVIO RESI FORNITORE"), QStringLiteral("DETTAGLIO RESO"),
            doc::NUMDOC, QStringLiteral("RESI"), DocumentKind::supplierReturn()};
}

} // namespace

TFArcResi::TFArcResi(Shop &shop, QWidget *parent)
    : TFArcResi(shop, returnsArchive(), parent) {
    setObjectName(QStringLiteral("TFArcResi"));
    setWindowTitle(QStringLiteral("Archivio Resi Fornitore"));
}

TFArcResi::TFArcResi(Shop &shop, Setup setup, QWidget *parent)
    : SupplierArchiveFrame(shop, std::move(setup), parent) {}

TFArcResi::~TFArcResi() {
    delete m_document;
}

TFReso *TFArcResi::documentWindow() const {
    return m_document;
}

void TFArcResi::openDocument(qint64 key) {
    // One document window at a time: the previous one goes, whatever its state.
    delete m_document;
    QWidget *panel = parentWidget();
    const bool orders = setup().kind.headerTable == DocumentKind::supplierOrder().headerTable;
    m_document = new TFReso(shop(), orders ? TFReso::Mode::Order : TFReso::Mode::Return, panel);
    m_document->DocumentKey = key;
    m_document->setOpener(this);
    if (!panel)
        m_document->resize(size());
    DocumentWindow::place(m_document, panel);
}

void TFArcResi::BNuovoClick() {
    openDocument(0);
}

void TFArcResi::BModificaClick() {
    const qint64 key = selectedKey();
    if (key != 0)
        openDocument(key);
}

QString TFArcResi::deleteQuestion() const {
    return QStringLiteral("Eliminare il Reso selezionato?");
}

void TFArcResi::BEliminaClick() {
    const qint64 key = selectedKey();
    if (key == 0)
        return;
    if (!shop().prompter().confirm(deleteQuestion()))
        return;
    // The kind says whether the lines' goods go back into the stock.
    runReportingEngineErrors(shop().prompter(), [&] {
        StockRoutines stock(shop().database());
        DocumentSaver saver(shop().database(), stock, shop().routines(), setup().kind);
        saver.remove(headers(), key);
    });
    refreshList();
}

} // namespace corvale
