#include "purchasing/TFArcAcq.h"

#include "catalogue/StockRoutines.h"
#include "db/Table.h"
#include "documents/DocumentSaver.h"
#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "purchasing/ReceiptFinder.h"
#include "purchasing/TFArcRidiF.h"
#include "purchasing/TFCarico.h"
#include "shell/Shop.h"

#include <QPushButton>

namespace corvale {

namespace {

SupplierArchiveFrame::Setup purchaseArchive() {
    return {QStringLiteral("ARCHIVIO ACQUISTI"), QStringLiteral("DETTAGLIO ACQUISTO"), doc::NUMCAR,
            QStringLiteral("ACQUISTI"), DocumentKind::receipt()};
}

const QString articleCondition = QStringLiteral("( FINDV )");

} // namespace

TFArcAcq::TFArcAcq(Shop &shop, QWidget *parent)
    : SupplierArchiveFrame(shop, purchaseArchive(), parent) {
    setObjectName(QStringLiteral("TFArcAcq"));
    setWindowTitle(QStringLiteral("Archivio Acquisti"));
    connect(addButton(QStringLiteral("Pagamenti")), &QPushButton::clicked, this,
            &TFArcAcq::BPagamentiClick);
    connect(addButton(QStringLiteral("Cerca")), &QPushButton::clicked, this,
            &TFArcAcq::BCercaClick);
}

TFArcAcq::~TFArcAcq() {
    delete m_receipt;
}

TFCarico *TFArcAcq::receiptWindow() const {
    return m_receipt;
}

void TFArcAcq::opening() {
    setExtraCondition({});
}

void TFArcAcq::openReceipt(qint64 key, OpenerWindow *opener) {
    // One receipt window at a time: the previous one goes, whatever its state.
    delete m_receipt;
    QWidget *panel = parentWidget();
    m_receipt = new TFCarico(shop(), panel);
    m_receipt->DocumentKey = key;
    m_receipt->setLabelWindow(m_labels);
    m_receipt->setOpener(opener ? opener : this);
    if (!panel)
        m_receipt->resize(size());
    DocumentWindow::place(m_receipt, panel);
}

void TFArcAcq::BNuovoClick() {
    openReceipt(0);
}

void TFArcAcq::BModificaClick() {
    const qint64 key = selectedKey();
    if (key != 0)
        openReceipt(key);
}

void TFArcAcq::BEliminaClick() {
    const qint64 key = selectedKey();
    if (key == 0)
        return;
    if (!shop().prompter().confirm(QStringLiteral("Eliminare l'Acquisto selezionato?")))
        return;
    runReportingEngineErrors(shop().prompter(), [&] {
        StockRoutines stock(shop().database());
        DocumentSaver saver(shop().database(), stock, shop().routines(), DocumentKind::receipt());
        saver.remove(headers(), key);
    });
    refreshList();
}

void TFArcAcq::BCercaClick() {
    const auto answer = shop().prompter().input(QStringLiteral("Ricerca Acquisti"),
                                                QStringLiteral("Inserici il codice dell'articolo"));
    const QString code = answer.value_or(QString()).trimmed();
    if (code.isEmpty()) {
        setExtraCondition({});
        applyFilter();
        return;
    }
    bool found = false;
    if (!runReportingEngineErrors(shop().prompter(),
                                  [&] { found = markReceiptsWithCode(shop().database(), code); }))
        return;
    if (!found) {
        shop().prompter().error(QStringLiteral("Nessun Acquisto trovato!"));
        return;
    }
    setExtraCondition(articleCondition);
    applyFilter();
}

void TFArcAcq::BPagamentiClick() {
    TFArcRidiF payments(shop(), this);
    payments.exec();
    refreshList();
}

} // namespace corvale
