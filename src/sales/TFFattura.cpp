#include "sales/TFFattura.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/CapitalsValidator.h"
#include "db/Table.h"
#include "documents/ArticlePhoto.h"
#include "documents/CodeLine.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"
#include "documents/SheetGrid.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "printing/PrintService.h"
#include "purchasing/ContactChoice.h"
#include "sales/CustomerColumns.h"
#include "sales/InvoiceAddressee.h"
#include "sales/InvoicePrintout.h"
#include "sales/InvoiceStore.h"
#include "sales/einvoice/EInvoiceExport.h"
#include "sales/einvoice/SheetVat.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "widgets/FieldBinding.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"
#include "widgets/LookupCombo.h"
#include "widgets/TableModel.h"
#include "widgets/TitleBand.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace corvale {

namespace {

const QString ISBANCA = QStringLiteral("ISBANCA");

} // namespace

using formkit::button;

TFFattura::TFFattura(Shop &shop, QWidget *parent)
    : DocumentWindow(parent)
    , m_shop(shop)
    , m_sheet(std::make_unique<LineSheet>(shop.database(), DocumentKind::invoice()))
    , m_store(std::make_unique<InvoiceStore>(shop))
    , m_photo(std::make_unique<ArticlePhoto>(shop, this)) {
    setObjectName(QStringLiteral("TFFattura"));
    setWindowTitle(QStringLiteral("Nuova Vendita"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_band = formkit::titleBand(QStringLiteral("FATTURA"),
                                shop.folder().file(QStringLiteral("top.BMP")), this, layout);

    auto *toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(8, 4, 8, 4);
    QPushButton *bPrint = button(QStringLiteral("Stampa"), this, toolbar);
    QPushButton *bSave = button(QStringLiteral("Salva"), this, toolbar);
    QPushButton *bCancel = button(QStringLiteral("Annulla"), this, toolbar);
    QPushButton *bElectronic = button(QStringLiteral("Fattura elettronica"), this, toolbar);
    bElectronic->setToolTip(QStringLiteral("Salva la fattura e ne scrive il file XML"));
    toolbar->addStretch();
    layout->addLayout(toolbar);

    auto *head = new QGridLayout;
    head->setContentsMargins(8, 0, 8, 0);
    m_number =
        formkit::labelledEdit(head, 0, QStringLiteral("Numero"), QStringLiteral("Numero"), this);
    m_date = formkit::labelledEdit(head, 1, QStringLiteral("Data"), QStringLiteral("Data"), this);
    head->addWidget(new QLabel(QStringLiteral("Cliente"), this), 0, 2);
    m_customer = new LookupCombo(this);
    m_customer->setObjectName(QStringLiteral("Cliente"));
    m_customer->setMinimumWidth(260);
    m_customer->setMaxVisibleItems(20);
    head->addWidget(m_customer, 1, 2);
    auto *bNewCustomer = new QPushButton(QStringLiteral("+"), this);
    bNewCustomer->setObjectName(QStringLiteral("Nuovo Cliente"));
    bNewCustomer->setToolTip(QStringLiteral("Nuovo Cliente"));
    head->addWidget(bNewCustomer, 1, 3);
    head->setColumnStretch(4, 1);
    layout->addLayout(head);
    m_customers = std::make_unique<ContactChoice>(shop, *m_customer, ContactChoice::Kind::Customer);

    m_grid = new SheetGrid(m_sheet->table(), this);
    m_grid->setObjectName(QStringLiteral("Griglia"));
    m_grid->setCodeColumn(m_grid->addStandardColumns());
    // Articles come by their code alone: no search by description.
    m_grid->setArticleColumn(-1);
    m_grid->addColumn(sheet::SCONTO, QStringLiteral("Sco."), QStringLiteral("#"), true);
    m_grid->addColumn(sheet::cIMPORTO, QStringLiteral("Importo"), QStringLiteral(",0.00"));
    m_grid->codeBox()->setMaxLength(15);
    m_grid->codeBox()->setValidator(new CapitalsValidator(m_grid->codeBox()));
    layout->addWidget(m_grid, 1);

    auto *foot = new QHBoxLayout;
    foot->setContentsMargins(8, 4, 8, 8);
    QPushButton *bDelete = button(QStringLiteral("Elimina"), this, foot);
    bDelete->setToolTip(QStringLiteral("Elimina articolo selezionato"));
    foot->addStretch();
    m_pieces = formkit::valueBox(QStringLiteral("Numero Pezzi"), QStringLiteral("NumeroPezzi"),
                                 this, foot);
    m_total = formkit::valueBox(QStringLiteral("Totale €"), QStringLiteral("Totale"), this, foot);
    m_toBank = new QCheckBox(QStringLiteral("Versamento in Banca"), this);
    m_toBank->setObjectName(QStringLiteral("Versamento in Banca"));
    foot->addWidget(m_toBank);
    layout->addLayout(foot);

    m_binding = new FieldBinding(m_store->header(), this);
    m_binding->setAutoEdit(false);
    m_binding->bind(m_number, doc::NUMDOC);
    m_binding->bind(m_date, doc::DATADOC);
    m_binding->bind(m_toBank, ISBANCA);
    m_date->setMaxLength(10);

    connect(bPrint, &QPushButton::clicked, this, &TFFattura::BStampaClick);
    connect(bSave, &QPushButton::clicked, this, &TFFattura::BSalvaClick);
    connect(bCancel, &QPushButton::clicked, this, &TFFattura::BAnnullaClick);
    connect(bElectronic, &QPushButton::clicked, this, &TFFattura::BFatturaElettronicaClick);
    connect(bDelete, &QPushButton::clicked, this, &TFFattura::BEliminaClick);
    connect(bNewCustomer, &QPushButton::clicked, this, &TFFattura::BNuovoClienteClick);
    connect(m_customer, &QComboBox::currentIndexChanged, this, &TFFattura::customerChanged);
    connect(m_grid, &SheetGrid::codeEntered, this, &TFFattura::enterCode);
    connect(m_grid, &SheetGrid::cellLeft, this, &TFFattura::computeTotals);
    connect(&m_grid->model(), &QAbstractItemModel::dataChanged, this, &TFFattura::computeTotals);
    connect(&m_grid->model(), &TableModel::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
    connect(m_binding, &FieldBinding::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
    FocusHighlighter::install(this);
}

TFFattura::~TFFattura() {
    // The binding reads the header handle, which goes with the store.
    delete m_binding;
}

db::Table &TFFattura::header() {
    return m_store->header();
}

void TFFattura::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous() && !m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void TFFattura::resizeEvent(QResizeEvent *event) {
    DocumentWindow::resizeEvent(event);
    layoutColumns();
}

void TFFattura::layoutColumns() {
    // The counter sale's widths: fixed code, size and quantity, the others in
    // sixteenths of what is left, the description taking the rest.
    const int W = m_grid->viewport()->width();
    const int c = std::max(0, (W - 243) / 16);
    const QList<int> widths = {100,  std::max(60, W - 12 * c - 243), 4 * c, 3 * c, 45, 58, 2 * c, c,
                               2 * c};
    for (int i = 0; i < widths.size(); ++i)
        m_grid->setColumnWidth(i, widths[i]);
}

void TFFattura::FormActivate() {
    IsNew = DocumentKey == 0;
    setWindowTitle(IsNew ? QStringLiteral("Nuova Vendita") : QStringLiteral("Modifica Vendita"));
    m_sheet->TotalsSuspended = true;
    // Lines take the price of the invoice's day: a campaign's, while one runs.
    m_sheet->setPriceDay([this] {
        const QDate day = Formats::parseDate(m_date->text()).value_or(QDate());
        return day.isValid() ? day : m_shop.clock().today();
    });
    bool found = true;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_customers->close();
        m_customers->open();
        m_sheet->open();
        found = m_store->begin(DocumentKey);
        if (!IsNew && found)
            m_sheet->loadLines(DocumentKey);
        m_sheet->appendBlankRows();
        m_sheet->table().first();
    });
    if (!found) {
        m_shop.prompter().error(QStringLiteral("Fattura non trovata!"));
        closeTables();
        finish();
        return;
    }
    const bool editing = header().isOpen() && header().state() != db::Table::State::Browse;
    m_binding->load();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_customers->fill(editing ? header().asInteger(customerColumns::invoiceCustomer) : 0);
    });
    m_grid->reload();
    layoutColumns();
    m_sheet->TotalsSuspended = false;
    computeTotals();
    m_grid->setFocus();
}

void TFFattura::customerChanged() {
    const auto customer = m_customers->chosen();
    if (customer && header().isOpen() && header().state() != db::Table::State::Browse)
        runReportingEngineErrors(m_shop.prompter(), [&] {
            header().setInteger(customerColumns::invoiceCustomer, *customer);
        });
}

void TFFattura::computeTotals() {
    if (m_sheet->TotalsSuspended || !m_sheet->table().isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        // Without a discount on the whole invoice, the sheet's taxable sum is
        // the plain sum of the line amounts, VAT included.
        const auto totals = m_sheet->computeTotals(0);
        if (!totals)
            return;
        if (header().isOpen() && header().state() != db::Table::State::Browse)
            header().setFloat(customerColumns::invoiceTotal, totals->taxable);
        m_pieces->setText(QString::number(totals->pieces));
        m_total->setText(Formats::display(u",0.00", totals->taxable));
    });
}

void TFFattura::enterCode(const QString &code) {
    if (!m_sheet->table().isOpen())
        return;
    std::optional<QString> refusal;
    qint64 article = 0;
    const bool done = runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sheet->postPending();
        refusal = takeCodeLine(m_shop.database(), *m_sheet, code, &article);
    });
    m_grid->reload();
    if (refusal) {
        m_shop.prompter().error(*refusal);
        m_grid->setFocus();
        return;
    }
    if (done)
        m_photo->show(article);
    computeTotals();
    m_grid->setFocus();
}

void TFFattura::BEliminaClick() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (!m_sheet->table().isOpen() || !m_sheet->deleteCurrentRow())
            return;
        m_grid->reload();
        computeTotals();
    });
}

std::optional<QDate> TFFattura::documentDate() {
    const auto date = Formats::parseDate(m_date->text());
    if (!date)
        m_shop.prompter().error(QStringLiteral("La data della fattura non è valida!"));
    return date;
}

bool TFFattura::save() {
    if (!m_customers->require())
        return false;
    const auto date = documentDate();
    if (!date)
        return false;
    const InvoiceStore::Customer customer{*m_customers->chosen(), m_customers->chosenName()};
    return runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sheet->postPending();
        computeTotals();
        if (!m_binding->store())
            return false;
        // Every line is stored, as every line is printed.
        DocumentKey = m_store->save(DocumentKey, m_sheet->allLines(), *date, customer);
        return true;
    });
}

void TFFattura::BSalvaClick() {
    if (!save())
        return;
    closeTables();
    finish();
}

void TFFattura::BAnnullaClick() {
    m_sheet->TotalsSuspended = true;
    runReportingEngineErrors(m_shop.prompter(), [&] { m_store->cancel(); });
    closeTables();
    finish();
}

void TFFattura::closeTables() {
    m_photo->hide();
    m_grid->hideSearch();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sheet->close();
        m_customers->close();
        m_store->close();
    });
    m_grid->reload();
}

bool TFFattura::preparePrintout(InvoicePrintout &printout) {
    const bool ready = runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sheet->postPending();
        computeTotals();
        printout.rows = m_sheet->allLines();
        const InvoiceAddressee addressee =
            InvoiceAddressee::load(m_shop.database(), *m_customers->chosen());
        printout.address = addressee.address;
        printout.postcode = addressee.postcode;
        printout.town = addressee.town;
        printout.vatNumber = addressee.vatNumber;
        m_sheet->table().first();
    });
    if (!ready)
        return false;
    m_grid->reload();
    printout.customer = m_customers->chosenName();
    printout.amounts = InvoiceAmounts::of(printout.rows, m_shop.texts().vatPercent);
    // The same VAT by rate as the electronic invoice of this invoice.
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const auto vat = sheetVat(printout.rows, ShopFiscalData::load(m_shop.database()),
                                  VatBreakdown::cents(printout.amounts.total));
        if (vat)
            printout.summaries = vat->summaries();
    });
    printout.numberText = m_number->text();
    printout.dateText = m_date->text();
    printout.noteText = m_shop.texts().noteText;
    printout.privacyText = m_shop.texts().privacyText;
    return true;
}

void TFFattura::BStampaClick() {
    if (!m_customers->require() || !documentDate())
        return;
    InvoicePrintout printout;
    if (!preparePrintout(printout))
        return;
    CommonRoutines &routines = m_shop.routines();
    const int copies = routines.AskCopies();
    if (copies <= 0)
        return;
    // The invoice is stored before it is printed: a printed invoice that the
    // archive does not hold would carry a number and a total nobody kept.
    if (!save())
        return;
    closeTables();
    PrintService &service = m_shop.printService();
    const bool printed = runReportingEngineErrors(m_shop.prompter(), [&] {
        return service.print(
            QStringLiteral("Fattura"),
            [printout, &routines](PageCanvas &canvas) { printout.draw(canvas, routines); }, copies);
    });
    if (!printed && !service.errorText().isEmpty())
        m_shop.prompter().error(service.errorText());
    finish();
}

void TFFattura::BFatturaElettronicaClick() {
    // The file states the invoice as stored: it is saved first.
    if (!save())
        return;
    const qint64 key = DocumentKey;
    closeTables();
    std::optional<EInvoiceExport::Outcome> outcome;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        EInvoiceExport writer(m_shop.database(), EInvoiceExport::defaultFolder(m_shop.folder()));
        outcome = writer.write(key);
    });
    if (outcome && outcome->written)
        m_shop.prompter().information(EInvoiceExport::messageFor(*outcome));
    else if (outcome)
        m_shop.prompter().error(EInvoiceExport::messageFor(*outcome));
    finish();
}

void TFFattura::BNuovoClienteClick() {
    m_customers->addNew(this);
    customerChanged();
}

} // namespace corvale
