#include "sales/TFArcFat.h"

#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "sales/TFFattura.h"
#include "sales/TFNotaCredito.h"
#include "sales/einvoice/EInvoiceColumns.h"
#include "sales/einvoice/EInvoiceExport.h"
#include "sales/einvoice/EInvoiceState.h"
#include "sales/einvoice/SdiNotifications.h"
#include "shell/Shop.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace corvale {

namespace {

const QString cDocumento = QStringLiteral("cDocumento");
const QString cStatoFE = QStringLiteral("cStatoFE");

SalesArchiveFrame::Setup invoiceArchive() {
    SalesArchiveFrame::Setup s;
    s.heading = QStringLiteral("ARCHIVIO FATTURE");
    s.windowTitle = QStringLiteral("Archivio Fatture");
    s.newHint = QStringLiteral("Nuova Fattura");
    s.editHint = QStringLiteral("Modifica la fattura selezionata");
    s.deleteHint = QStringLiteral("Elimina la fattura selezionata");
    s.deleteQuestion = QStringLiteral("Eliminare la Fattura selezionata?");
    s.kind = DocumentKind::invoice();
    s.layout = SalesArchivePrintout::Layout::Invoices;
    const QString money = QStringLiteral(",0.00");
    s.listColumns = {{doc::RAGSOC, QStringLiteral("Cliente"), {}, 189},
                     {doc::DATADOC, QStringLiteral("Data"), {}, 62},
                     {doc::NUMDOC, QStringLiteral("Numero")},
                     {doc::TOTALE, QStringLiteral("Totale"), money, 75, true},
                     {cDocumento, QStringLiteral("Documento"), {}, 80},
                     {cStatoFE, QStringLiteral("Stato FE"), {}, 95}};
    s.detailColumns = {{sheet::DESCRIZION, QStringLiteral("Articolo")},
                       {sheet::MARCHIO, QStringLiteral("Marchio"), {}, 75},
                       {sheet::COLORE, QStringLiteral("Colore"), {}, 72},
                       {sheet::CTAGLIA, QStringLiteral("Taglia"), {}, 40},
                       {sheet::QUANTITA, QStringLiteral("Q.tà"), QStringLiteral("#"), 32},
                       {sheet::PREZZO, QStringLiteral("Prezzo"), money, 55}};
    s.stretchedDetailColumn = 0;
    return s;
}

enum class Order { Date, Customer };

// Invoices whose file has not reached the customer: none yet, written, sent
// or rejected; an empty state is none.
const QString undeliveredCondition =
    QStringLiteral("((NOT (FESTATO = 3)) AND (NOT (FESTATO = 4)))");

} // namespace

TFArcFat::TFArcFat(Shop &shop, QWidget *parent)
    : SalesArchiveFrame(shop, invoiceArchive(), parent) {
    setObjectName(QStringLiteral("TFArcFat"));
    // "Ordina per" after the period controls.
    const int at = band()->count() - 1;
    band()->insertWidget(at, new QLabel(QStringLiteral("Ordina per"), this));
    m_order = new QComboBox(this);
    m_order->setObjectName(QStringLiteral("OrdinaPer"));
    m_order->addItems({QStringLiteral("Data"), QStringLiteral("Cliente")});
    band()->insertWidget(at + 1, m_order);
    connect(m_order, &QComboBox::currentIndexChanged, this, &TFArcFat::orderChanged);

    headers().addCalculatedField(cDocumento);
    headers().addCalculatedField(cStatoFE);
    headers().setCalcFieldsHandler([this](db::Table &t) { calculate(t); });
    connect(addButton(QStringLiteral("Fattura elettronica"),
                      QStringLiteral("Scrive il file XML della fattura selezionata")),
            &QPushButton::clicked, this, &TFArcFat::BFatturaElettronicaClick);
    connect(addButton(QStringLiteral("Nota di credito"),
                      QStringLiteral("Merce resa della fattura selezionata")),
            &QPushButton::clicked, this, &TFArcFat::BNotaCreditoClick);
    connect(addButton(QStringLiteral("Inviata"),
                      QStringLiteral("Segna come inviata la fattura elettronica selezionata")),
            &QPushButton::clicked, this, &TFArcFat::BInviataClick);
    connect(addButton(QStringLiteral("Notifiche SdI"),
                      QStringLiteral("Legge le ricevute e gli scarti del Sistema di Interscambio")),
            &QPushButton::clicked, this, &TFArcFat::BNotificheClick);
    m_undelivered = addButton(QStringLiteral("Da consegnare"),
                              QStringLiteral("Solo le fatture del periodo non ancora consegnate"));
    m_undelivered->setCheckable(true);
    connect(m_undelivered, &QPushButton::clicked, this, &TFArcFat::BDaConsegnareClick);
}

void TFArcFat::calculate(db::Table &t) {
    const bool credit =
        t.asString(einvoiceColumns::documentType).trimmed() == einvoiceColumns::creditNoteType;
    t.setCalculated(cDocumento,
                    credit ? QStringLiteral("Nota credito") : QStringLiteral("Fattura"));
    t.setCalculated(cStatoFE, stateText(stateFromValue(t.asInteger(einvoiceColumns::state))));
}

QString TFArcFat::einvoiceFolder() {
    return EInvoiceExport::defaultFolder(shop().folder());
}

void TFArcFat::BFatturaElettronicaClick() {
    const qint64 key = selectedKey();
    if (key == 0)
        return;
    std::optional<EInvoiceExport::Outcome> outcome;
    runReportingEngineErrors(shop().prompter(), [&] {
        EInvoiceExport writer(shop().database(), einvoiceFolder());
        outcome = writer.write(key);
    });
    refreshList();
    if (!outcome)
        return;
    if (outcome->written)
        shop().prompter().information(EInvoiceExport::messageFor(*outcome));
    else
        shop().prompter().error(EInvoiceExport::messageFor(*outcome));
}

void TFArcFat::BNotaCreditoClick() {
    const qint64 key = selectedKey();
    if (key == 0)
        return;
    TFNotaCredito dialog(shop(), key, this);
    if (!dialog.prepare())
        return;
    dialog.exec();
    if (dialog.CreatedKey != 0)
        refreshList();
}

void TFArcFat::BInviataClick() {
    const qint64 key = selectedKey();
    if (key == 0)
        return;
    bool marked = false;
    runReportingEngineErrors(shop().prompter(),
                             [&] { marked = SdiNotifications::markSent(shop().database(), key); });
    if (!marked) {
        shop().prompter().error(
            QStringLiteral("Si segna come inviata solo una fattura elettronica scritta e non "
                           "ancora inviata."));
        return;
    }
    refreshList();
}

void TFArcFat::BNotificheClick() {
    const auto chosen =
        shop().prompter().openFile(QStringLiteral("Notifiche del Sistema di Interscambio"),
                                   QStringLiteral("Notifiche SdI|*.xml"), einvoiceFolder());
    if (!chosen)
        return;
    SdiNotifications::Report report;
    const bool done = runReportingEngineErrors(shop().prompter(), [&] {
        // Files an intermediary took away have left the shop.
        SdiNotifications::markCollected(shop().database(), einvoiceFolder());
        report = SdiNotifications::import(shop().database(), QFileInfo(*chosen).absolutePath());
    });
    refreshList();
    if (done)
        shop().prompter().information(SdiNotifications::reportText(report));
}

void TFArcFat::BDaConsegnareClick() {
    setCondition(m_undelivered->isChecked() ? undeliveredCondition : QString());
    applyPeriod();
}

TFArcFat::~TFArcFat() {
    delete m_invoice;
}

TFFattura *TFArcFat::invoiceWindow() const {
    return m_invoice;
}

void TFArcFat::opening() {
    setDates(QDate(today().year(), 1, 1), today());
    setPeriod(PeriodFilter::Period::CurrentMonth);
    // The list follows the box, so that the order shown is the order listed.
    m_order->setCurrentIndex(int(Order::Customer));
    m_undelivered->setChecked(false);
    // Files the intermediary collected from archivio/FE have been sent.
    runReportingEngineErrors(shop().prompter(), [&] {
        SdiNotifications::markCollected(shop().database(), einvoiceFolder());
    });
}

QString TFArcFat::orderTag() const {
    return m_order->currentIndex() == int(Order::Date) ? doc::MYDATA : doc::RAGSOC;
}

void TFArcFat::orderChanged() {
    applyPeriod();
}

void TFArcFat::openInvoice(qint64 key, OpenerWindow *opener) {
    // One invoice window at a time: the previous one goes, whatever its state.
    delete m_invoice;
    QWidget *panel = parentWidget();
    m_invoice = new TFFattura(shop(), panel);
    m_invoice->DocumentKey = key;
    m_invoice->setOpener(opener ? opener : this);
    if (!panel)
        m_invoice->resize(size());
    DocumentWindow::place(m_invoice, panel);
}

void TFArcFat::openDocument(qint64 key) {
    openInvoice(key);
}

} // namespace corvale
