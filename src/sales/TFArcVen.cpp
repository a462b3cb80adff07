#include "sales/TFArcVen.h"

#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "platform/NotYetAvailable.h"
#include "platform/Prompter.h"
#include "sales/SaleColumns.h"
#include "sales/SaleExchange.h"
#include "sales/SaleFiscalState.h"
#include "sales/SaleGift.h"
#include "sales/SaleVoid.h"
#include "sales/SalesArchiveSearch.h"
#include "sales/TFBanco.h"
#include "sales/TFBuoni.h"
#include "sales/TFCambio.h"
#include "sales/TFNonFiscali.h"
#include "sales/TFResoBanco.h"
#include "shell/Shop.h"

#include <QPushButton>

namespace corvale {

namespace {

const QString cStatoRT = QStringLiteral("cStatoRT");
const QString cCambio = QStringLiteral("cCambio");

// Which half of a same-day exchange a sale is: the return of the pieces
// brought back (its total is negative) or the sale of the new ones.
QString exchangeText(const db::Table &t) {
    if (t.asInteger(saleColumns::exchangeLink) == 0)
        return {};
    return t.asFloat(doc::TOTALE) < 0 ? QStringLiteral("Reso del cambio")
                                      : QStringLiteral("Vendita del cambio");
}

SalesArchiveFrame::Setup salesArchive() {
    SalesArchiveFrame::Setup s;
    s.heading = QStringLiteral("ARCHIVIO VENDITE");
    s.windowTitle = QStringLiteral("Archivio Vendite");
    s.newHint = QStringLiteral("Nuova Vendita");
    s.editHint = QStringLiteral("Modifica la Vendita selezionata");
    s.deleteHint = QStringLiteral("Elimina la Vendita selezionata");
    s.deleteQuestion = QStringLiteral("Eliminare la Vendita selezionata?");
    s.kind = DocumentKind::counterSale();
    s.layout = SalesArchivePrintout::Layout::Sales;
    const QString money = QStringLiteral(",0.00");
    s.listColumns = {{doc::DATADOC, QStringLiteral("Data")},
                     {doc::NUMDOC, QStringLiteral("Numero")},
                     {doc::TOTALE, QStringLiteral("Totale"), money, 80, true},
                     // What the telematic register gave the sale and how it was paid.
                     {saleColumns::rtNumber, QStringLiteral("Doc. RT"), {}, 50},
                     {saleColumns::rtClosure, QStringLiteral("Chius."), {}, 45},
                     {saleColumns::paidCash, QStringLiteral("Contanti"), money, 65},
                     {saleColumns::paidCard, QStringLiteral("Elettronico"), money, 65},
                     {saleColumns::paidVoucher, QStringLiteral("Buono"), money, 65},
                     // A sale stored while the register could not be reached.
                     {cStatoRT, QStringLiteral("Stato RT"), {}, 105},
                     // The two halves of a same-day exchange.
                     {cCambio, QStringLiteral("Cambio"), {}, 90}};
    s.detailColumns = {{sheet::BARCODE, QStringLiteral("Barcode")},
                       {sheet::DESCRIZION, QStringLiteral("Articolo")},
                       {sheet::MARCHIO, QStringLiteral("Marchio"), {}, 75},
                       {sheet::COLORE, QStringLiteral("Colore"), {}, 72},
                       {sheet::CTAGLIA, QStringLiteral("Taglia"), {}, 40},
                       {sheet::QUANTITA, QStringLiteral("Q.tà"), QStringLiteral("#"), 32},
                       {sheet::PREZZO, QStringLiteral("Prezzo"), money, 55},
                       {sheet::SCONTO, QStringLiteral("Sc.%"), {}, 32},
                       {doc::IMPORTO, QStringLiteral("Importo"), money, 55}};
    s.stretchedDetailColumn = 1;
    return s;
}

const QString articleCondition = QStringLiteral("( FINDV )");

} // namespace

TFArcVen::TFArcVen(Shop &shop, QWidget *parent)
    : SalesArchiveFrame(shop, salesArchive(), parent) {
    setObjectName(QStringLiteral("TFArcVen"));
    connect(addButton(QStringLiteral("Cerca"), QStringLiteral("Cerca le vendite di un articolo")),
            &QPushButton::clicked, this, &TFArcVen::BCercaClick);
    connect(addButton(QStringLiteral("Grafico"), QStringLiteral("Grafico delle Vendite")),
            &QPushButton::clicked, this, &TFArcVen::BGraficoClick);
    // --- Telematic register: the void of a receipt ---
    m_void = new SaleVoid(shop, this);
    QPushButton *annul = addButton(QStringLiteral("Annullo"),
                                   QStringLiteral("Annulla sul registratore lo scontrino della "
                                                  "Vendita selezionata"));
    annul->setObjectName(QStringLiteral("Annullo"));
    connect(annul, &QPushButton::clicked, this, &TFArcVen::BAnnulloClick);
    QPushButton *giveBack =
        addButton(QStringLiteral("Reso"), QStringLiteral("Reso di capi della Vendita selezionata"));
    giveBack->setObjectName(QStringLiteral("Reso"));
    connect(giveBack, &QPushButton::clicked, this, &TFArcVen::BResoClick);
    QPushButton *vouchers =
        addButton(QStringLiteral("Buoni"), QStringLiteral("Elenco dei buoni e dei loro movimenti"));
    vouchers->setObjectName(QStringLiteral("Buoni"));
    connect(vouchers, &QPushButton::clicked, this, &TFArcVen::BBuoniClick);
    // --- Same-day size exchange and gift receipt ---
    m_exchange = new SaleExchange(shop, this);
    m_gift = new SaleGift(shop, this);
    QPushButton *exchange = addButton(
        QStringLiteral("Cambio"), QStringLiteral("Cambio taglia dei capi della Vendita di oggi"));
    connect(exchange, &QPushButton::clicked, this, &TFArcVen::BCambioClick);
    QPushButton *gift =
        addButton(QStringLiteral("Cortesia"),
                  QStringLiteral("Scontrino di cortesia della Vendita selezionata"));
    connect(gift, &QPushButton::clicked, this, &TFArcVen::BCortesiaClick);
    connect(m_exchange, &SaleExchange::finished, this, &TFArcVen::refreshList);
    // --- end size exchange
    // --- Sales stored while the telematic register could not be reached ---
    headers().addCalculatedField(cStatoRT);
    headers().addCalculatedField(cCambio);
    headers().setCalcFieldsHandler([](db::Table &t) {
        t.setCalculated(
            cStatoRT, saleFiscalStateText(saleFiscalState(t.asInteger(saleColumns::fiscalState))));
        t.setCalculated(cCambio, exchangeText(t));
    });
    QPushButton *offline =
        addButton(QStringLiteral("Non fiscalizzate"),
                  QStringLiteral("Le vendite salvate senza il registratore telematico"));
    offline->setObjectName(QStringLiteral("NonFiscalizzate"));
    connect(offline, &QPushButton::clicked, this, &TFArcVen::BNonFiscalizzateClick);
    connect(m_void, &SaleVoid::finished, this, [this](bool, qint64 stored) {
        if (stored == 0)
            return;
        const auto &voucher = m_void->issuedVoucher();
        QString text = m_void->lastOperation() == SaleVoid::Operation::Void
                           ? QStringLiteral("Scontrino annullato: l'annullo è registrato tra le "
                                            "vendite.")
                           : QStringLiteral("Reso emesso: è registrato tra le vendite.");
        if (voucher)
            text += QStringLiteral("\rRimborso con il buono n. %1 di € %2: viene stampato.")
                        .arg(voucher->number)
                        .arg(Formats::format(u"%.2n", voucher->amount.toDouble()));
        this->shop().prompter().information(text);
        if (voucher)
            printVoucher(this->shop(), *voucher);
        refreshList();
    });
}

// The selected sale whose pieces may go back: the receipt to quote and its
// lines; nothing, after saying why, when it has none to quote.
template <typename Quote, typename Lines>
std::optional<TFArcVen::ReturnableSale> TFArcVen::selectedForReturn(Quote quote, Lines lines) {
    ReturnableSale sale;
    sale.key = selectedKey();
    if (sale.key == 0)
        return std::nullopt;
    QString reason;
    std::optional<FiscalDocumentRef> quoted;
    if (!runReportingEngineErrors(shop().prompter(), [&] {
            quoted = quote(sale.key, &reason);
            if (quoted)
                sale.lines = lines(sale.key);
        }))
        return std::nullopt;
    if (!quoted) {
        shop().prompter().error(reason);
        return std::nullopt;
    }
    sale.quoted = *quoted;
    return sale;
}

void TFArcVen::BResoClick() {
    if (busy() || m_void->isRunning())
        return;
    const auto sale = selectedForReturn(
        [this](qint64 key, QString *why) { return m_void->quoteReturn(key, why); },
        [this](qint64 key) { return m_void->returnable(key); });
    if (!sale)
        return;
    TFResoBanco dialog(shop(), *m_void, sale->key, sale->quoted, sale->lines, this);
    dialog.exec();
}

void TFArcVen::BCambioClick() {
    if (busy() || m_exchange->isRunning() || m_void->isRunning())
        return;
    const auto sale =
        selectedForReturn([this](qint64 key, QString *why) { return m_exchange->quote(key, why); },
                          [this](qint64 key) { return m_exchange->returnable(key); });
    if (!sale)
        return;
    TFCambio dialog(shop(), *m_exchange, sale->key, sale->quoted, sale->lines, this);
    dialog.exec();
}

void TFArcVen::BCortesiaClick() {
    if (busy())
        return;
    const qint64 key = selectedKey();
    if (key == 0)
        return;
    // The register prints its own copy only of the document it has just
    // issued: a stored sale's goes to the shop's printer.
    m_gift->print(key);
}

void TFArcVen::BNonFiscalizzateClick() {
    TFNonFiscali window(shop(), this);
    window.exec();
    refreshList();
}

void TFArcVen::BBuoniClick() {
    if (!m_vouchers)
        m_vouchers = new TFBuoni(shop(), this);
    m_vouchers->exec();
}

void TFArcVen::BAnnulloClick() {
    if (busy() || m_void->isRunning())
        return;
    const qint64 key = selectedKey();
    if (key == 0)
        return;
    QString reason;
    std::optional<FiscalDocumentRef> quoted;
    if (!runReportingEngineErrors(shop().prompter(), [&] { quoted = m_void->quote(key, &reason); }))
        return;
    if (!quoted) {
        shop().prompter().error(reason);
        return;
    }
    if (!shop().prompter().confirm(
            QStringLiteral("Annullare sul registratore lo scontrino n. %1 (chiusura n. %2) del "
                           "%3?")
                .arg(quoted->number)
                .arg(quoted->closure)
                .arg(quoted->dateTime.date().toString(QStringLiteral("dd/MM/yyyy")))))
        return;
    // The customer gets the money back as paid, or a voucher.
    const Prompter::Answer asVoucher = shop().prompter().confirmWithCancel(voucherRefundText);
    if (asVoucher == Prompter::Answer::Cancel)
        return;
    m_void->start(key, *quoted,
                  asVoucher == Prompter::Answer::Yes ? std::optional(PaymentType::Voucher)
                                                     : std::nullopt);
}

TFArcVen::~TFArcVen() {
    delete m_sale;
}

TFBanco *TFArcVen::saleWindow() const {
    return m_sale;
}

void TFArcVen::setChartWindow(std::function<void()> open) {
    m_chart = std::move(open);
}

void TFArcVen::opening() {
    // A new showing forgets the last search and starts on today's sales.
    setCondition({});
    setDates(today(), today());
    setPeriod(PeriodFilter::Period::Range);
}

void TFArcVen::setArticleArchive(TFArcArt *archive, QWidget *panel) {
    m_articleArchive = archive;
    m_articlePanel = panel;
}

void TFArcVen::openSale(qint64 key, OpenerWindow *opener) {
    // One sale window at a time: the previous one goes, whatever its state,
    // except while it is sending a receipt to the register: the sale must
    // outlive its transmission, so that a completed receipt is saved.
    if (m_sale && m_sale->isTransmitting()) {
        shop().prompter().error(QStringLiteral(
            "Attendere la fine dell'invio dello scontrino al registratore di cassa."));
        DocumentWindow::place(m_sale, parentWidget());
        return;
    }
    delete m_sale;
    QWidget *panel = parentWidget();
    m_sale = new TFBanco(shop(), panel);
    if (m_articleArchive)
        m_sale->setArticleArchive(m_articleArchive, m_articlePanel);
    m_sale->DocumentKey = key;
    m_sale->setOpener(opener ? opener : this);
    if (!panel)
        m_sale->resize(size());
    DocumentWindow::place(m_sale, panel);
}

void TFArcVen::openDocument(qint64 key) {
    openSale(key);
}

void TFArcVen::BCercaClick() {
    const auto answer = shop().prompter().input(QStringLiteral("Ricerca Vendita"),
                                                QStringLiteral("Inserici il codice dell'articolo"));
    const QString code = answer.value_or(QString()).trimmed();
    if (code.isEmpty()) {
        setCondition({});
        applyPeriod();
        return;
    }
    bool found = false;
    if (!runReportingEngineErrors(shop().prompter(),
                                  [&] { found = markSalesWithCode(shop().database(), code); }))
        return;
    if (!found) {
        shop().prompter().error(QStringLiteral("Nessuna vendita trovata!"));
        return;
    }
    setCondition(articleCondition);
    applyPeriod();
}

void TFArcVen::BGraficoClick() {
    if (m_chart)
        m_chart();
    else
        reportNotYetAvailable(shop().prompter());
}

} // namespace corvale
