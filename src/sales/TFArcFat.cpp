#include "sales/TFArcFat.h"

#include "documents/SheetColumns.h"
#include "sales/TFFattura.h"
#include "shell/Shop.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

namespace corvale {

namespace {

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
                     {doc::TOTALE, QStringLiteral("Totale"), money, 75, true}};
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
