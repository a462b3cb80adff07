#include "sales/TFBanco.h"

#include "catalogue/CapitalsValidator.h"
#include "catalogue/TFArcArt.h"
#include "db/Table.h"
#include "documents/ArticleList.h"
#include "documents/ArticlePhoto.h"
#include "documents/SheetColumns.h"
#include "documents/SheetGrid.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "platform/NotYetAvailable.h"
#include "printing/PrintService.h"
#include "purchasing/TFFornitore.h"
#include "sales/CounterSale.h"
#include "sales/CustomerColumns.h"
#include "sales/OfflineSales.h"
#include "sales/SaleCheckout.h"
#include "sales/SaleColumns.h"
#include "sales/SaleCustomer.h"
#include "sales/SaleGift.h"
#include "sales/SalePayment.h"
#include "sales/SalePrintout.h"
#include "sales/SaleSizePanel.h"
#include "sales/VoucherStore.h"
#include "shell/Shop.h"
#include "widgets/FieldBinding.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"
#include "widgets/LookupCombo.h"
#include "widgets/TableModel.h"
#include "widgets/TextFit.h"
#include "widgets/TitleBand.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

namespace {

const QString notFoundText = QStringLiteral("Articolo inesistente!");
const QString noCardText = QStringLiteral("Carta inesistente!");

QLabel *valueLabel(QWidget *parent, const QString &name) {
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(90);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

TFBanco::TFBanco(Shop &shop, QWidget *parent)
    : DocumentWindow(parent)
    , m_shop(shop)
    , m_sale(std::make_unique<CounterSale>(shop))
    , m_photo(std::make_unique<ArticlePhoto>(shop, this)) {
    setObjectName(QStringLiteral("TFBanco"));
    setWindowTitle(QStringLiteral("Nuova Vendita"));
    m_checkout = new SaleCheckout(shop.prompter(), this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_band = new TitleBand(QStringLiteral("VENDITA AL BANCO"), this);
    m_band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(m_band);
    // Built top to bottom: the order is the order of the Tab key.
    buildToolbar(layout);
    buildCustomerBand(layout);
    buildGrid(layout);
    buildFoot(layout);
    bindHeader();
    m_panel = new SaleSizePanel(this);

    connect(m_discount, &QLineEdit::textChanged, this, &TFBanco::discountChanged);
    connect(m_grid, &SheetGrid::codeEntered, this, &TFBanco::codeEntered);
    connect(m_grid, &SheetGrid::articleChosen, this, &TFBanco::articleChosen);
    connect(m_grid, &SheetGrid::cellLeft, this, &TFBanco::computeTotals);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TFBanco::cellEntered);
    connect(&m_grid->model(), &QAbstractItemModel::dataChanged, this, &TFBanco::computeTotals);
    connect(&m_grid->model(), &TableModel::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
    connect(m_binding, &FieldBinding::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
    connect(m_panel, &SaleSizePanel::cellChosen, this, &TFBanco::sizeChosen);
    connect(m_panel, &SaleSizePanel::cancelClicked, this, &TFBanco::sizeCancelled);
    connect(m_checkout, &SaleCheckout::busyChanged, this, &TFBanco::setBusy);
    connect(m_checkout, &SaleCheckout::ended, this, &TFBanco::transmissionEnded);
    connect(m_checkout, &SaleCheckout::saveRequested, this, &TFBanco::BSalvaClick);
    FocusHighlighter::install(this);
}

// Number, date, the waiting sales and the buttons that send, print, save or
// drop the sale.
void TFBanco::buildToolbar(QVBoxLayout *layout) {
    auto *toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(8, 4, 8, 4);
    toolbar->addWidget(new QLabel(QStringLiteral("Numero"), this));
    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("Numero"));
    m_number->setStyleSheet(QStringLiteral("color: red"));
    m_number->setMaximumWidth(80);
    toolbar->addWidget(m_number);
    toolbar->addWidget(new QLabel(QStringLiteral("Data"), this));
    m_date = new QLineEdit(this);
    m_date->setObjectName(QStringLiteral("Data"));
    m_date->setStyleSheet(QStringLiteral("color: blue"));
    m_date->setMaximumWidth(100);
    toolbar->addWidget(m_date);
    toolbar->addStretch();
    // Sales stored while the telematic register could not be reached.
    m_waiting = new QLabel(this);
    m_waiting->setObjectName(QStringLiteral("NonFiscalizzate"));
    m_waiting->setStyleSheet(QStringLiteral("color: red"));
    m_waiting->hide();
    toolbar->addWidget(m_waiting);
    QPushButton *bSend = formkit::button(QStringLiteral("Scontrino"), this, toolbar,
                                         QStringLiteral("Inoltra la vendita al Reg. di Cassa"));
    QPushButton *bPrint = formkit::button(QStringLiteral("Stampa"), this, toolbar);
    QPushButton *bSave = formkit::button(QStringLiteral("Salva"), this, toolbar);
    QPushButton *bCancel = formkit::button(QStringLiteral("Annulla"), this, toolbar);
    layout->addLayout(toolbar);

    m_toolbar << bSend << bPrint << bSave << bCancel << m_number << m_date;
    m_heading << m_number << m_date;
    connect(bSend, &QPushButton::clicked, this, &TFBanco::BScontrinoClick);
    connect(bPrint, &QPushButton::clicked, this, &TFBanco::BStampaClick);
    connect(bSave, &QPushButton::clicked, this, &TFBanco::BSalvaClick);
    connect(bCancel, &QPushButton::clicked, this, &TFBanco::BAnnullaClick);
}

// The loyalty card, the customer and the points.
void TFBanco::buildCustomerBand(QVBoxLayout *layout) {
    auto *band = new QHBoxLayout;
    band->setContentsMargins(8, 0, 8, 0);
    band->addWidget(new QLabel(QStringLiteral("N° Carta"), this));
    m_card = new QLineEdit(this);
    m_card->setObjectName(QStringLiteral("Carta"));
    m_card->setMaxLength(20);
    band->addWidget(m_card);
    band->addWidget(new QLabel(QStringLiteral("Cliente"), this));
    m_customer = new LookupCombo(this);
    m_customer->setObjectName(QStringLiteral("Cliente"));
    m_customer->setMaxVisibleItems(20);
    m_customer->setMinimumWidth(240);
    m_customer->installEventFilter(this);
    band->addWidget(m_customer, 1);
    QPushButton *bCustomers =
        formkit::button(QStringLiteral("Clienti"), this, band, QStringLiteral("Archivio Clienti"));
    band->addWidget(new QLabel(QStringLiteral("Punteggio"), this));
    m_points = valueLabel(this, QStringLiteral("Punteggio"));
    m_points->setStyleSheet(QStringLiteral("color: red"));
    band->addWidget(m_points);
    layout->addLayout(band);

    m_toolbar << bCustomers << m_card << m_customer;
    m_heading << m_card << m_customer << bCustomers;
    connect(bCustomers, &QPushButton::clicked, this, &TFBanco::BClientiClick);
    connect(m_card, &QLineEdit::returnPressed, this, &TFBanco::cardEntered);
    connect(m_customer, &QComboBox::activated, this, [this](int) { customerChosen(); });
}

// The sale's lines.
void TFBanco::buildGrid(QVBoxLayout *layout) {
    m_grid = new SheetGrid(m_sale->sheet().table(), this);
    m_grid->setObjectName(QStringLiteral("Griglia"));
    m_grid->setCodeColumn(m_grid->addColumn(sheet::BARCODE, QStringLiteral("Codice")));
    m_grid->setArticleColumn(m_grid->addColumn(sheet::DESCRIZION, QStringLiteral("Articolo")));
    m_grid->addColumn(sheet::MARCHIO, QStringLiteral("Marchio"));
    m_grid->addColumn(sheet::cColore, QStringLiteral("Colore"));
    m_grid->addColumn(sheet::fTAGLIA, QStringLiteral("Taglia"));
    m_grid->addColumn(sheet::QUANTITA, QStringLiteral("Quantità"), QStringLiteral("#"), true);
    m_grid->addColumn(sheet::PREZZO, QStringLiteral("Prezzo"), QStringLiteral(",0.00"), true);
    m_grid->addColumn(sheet::SCONTO, QStringLiteral("Sc.%"), QStringLiteral("#.##"), true);
    m_grid->addColumn(sheet::cIMPORTO, QStringLiteral("Importo"), QStringLiteral(",0.00"));
    m_grid->horizontalHeader()->setSectionResizeMode(m_grid->articleColumn(), QHeaderView::Stretch);
    m_grid->codeBox()->setMaxLength(15);
    m_grid->codeBox()->setValidator(new CapitalsValidator(m_grid->codeBox()));
    layout->addWidget(m_grid, 1);

    m_heading << m_grid;
}

// The bottom bar in two rows: articles, deleting, the book, the gift receipt
// and the pieces; the voucher, the payment, the discount and the total.
void TFBanco::buildFoot(QVBoxLayout *layout) {
    // Two rows: in one, the bottom bar would not fit a window 800 wide and
    // would squeeze its boxes below what their values need.
    auto *foot = new QHBoxLayout;
    foot->setContentsMargins(8, 4, 8, 0);
    auto *sums = new QHBoxLayout;
    sums->setContentsMargins(8, 4, 8, 8);
    sums->addStretch();
    QPushButton *bArticles = formkit::button(QStringLiteral("Articoli"), this, foot,
                                             QStringLiteral("Visualizza l'archivio articoli"));
    QPushButton *bDelete = formkit::button(QStringLiteral("Elimina"), this, foot,
                                           QStringLiteral("Elimina articolo selezionato"));
    m_bank = new QCheckBox(QStringLiteral("Versamento in Banca"), this);
    m_bank->setObjectName(QStringLiteral("VersamentoBanca"));
    foot->addWidget(m_bank);
    // --- How the customer pays (a telematic register records the type) ---
    m_payment = new QComboBox(this);
    m_payment->setObjectName(QStringLiteral("Pagamento"));
    m_payment->addItems({QStringLiteral("Contanti"), QStringLiteral("Elettronico"),
                         QStringLiteral("Contanti + Elettronico")});
    m_payment->setToolTip(QStringLiteral("Pagamento"));
    m_cardPart = new QLineEdit(this);
    m_cardPart->setObjectName(QStringLiteral("ImportoElettronico"));
    m_cardPart->setPlaceholderText(QStringLiteral("Elettronico ") + QChar(0x20AC));
    m_cardPart->setMaxLength(12);
    TextFit::fitLineEdit(m_cardPart, QStringLiteral("Elettronico €"));
    m_lottery = new QLineEdit(this);
    m_lottery->setObjectName(QStringLiteral("Lotteria"));
    m_lottery->setPlaceholderText(QStringLiteral("Codice lotteria"));
    m_lottery->setMaxLength(8);
    m_lottery->setValidator(new CapitalsValidator(m_lottery));
    TextFit::fitLineEdit(m_lottery, QStringLiteral("Codice lotteria"));
    // A store-credit voucher pays first: its number or its scanned barcode.
    m_voucher = new QLineEdit(this);
    m_voucher->setObjectName(QStringLiteral("Buono"));
    m_voucher->setPlaceholderText(QStringLiteral("Buono"));
    m_voucher->setToolTip(QStringLiteral("Numero o codice a barre del buono"));
    m_voucher->setMaxLength(13);
    TextFit::fitLineEdit(m_voucher, QStringLiteral("0000000000000"));
    m_voucherLeft = new QLabel(this);
    m_voucherLeft->setObjectName(QStringLiteral("ResiduoBuono"));
    sums->insertWidget(0, m_voucher);
    sums->insertWidget(1, m_voucherLeft);
    sums->insertWidget(2, m_payment);
    sums->insertWidget(3, m_cardPart);
    sums->insertWidget(4, m_lottery);
    // --- Gift receipt: printed after the sale is stored ---
    m_gift = new SaleGift(m_shop, this);
    m_giftBox = new QCheckBox(QStringLiteral("Scontrino di cortesia"), this);
    m_giftBox->setObjectName(QStringLiteral("Cortesia"));
    m_giftBox->setToolTip(QStringLiteral("Dopo la vendita stampa lo scontrino senza prezzi"));
    foot->addWidget(m_giftBox);
    foot->addStretch();
    foot->addWidget(new QLabel(QStringLiteral("Numero Pezzi"), this));
    m_pieces = valueLabel(this, QStringLiteral("NumeroPezzi"));
    foot->addWidget(m_pieces);
    sums->addWidget(new QLabel(QStringLiteral("Sconto %"), this));
    m_discount = new QLineEdit(this);
    m_discount->setObjectName(QStringLiteral("Sconto"));
    sums->addWidget(m_discount);
    auto *bTarget = new QPushButton(QStringLiteral("€ → %"), this);
    bTarget->setObjectName(QStringLiteral("PrezzoScontato"));
    bTarget->setToolTip(QStringLiteral("Calcolo dal prezzo scontato"));
    sums->addWidget(bTarget);
    sums->addWidget(new QLabel(QStringLiteral("Totale ") + QChar(0x20AC), this));
    m_total = valueLabel(this, QStringLiteral("Totale"));
    // The largest total VENDITE.TOTALE holds.
    TextFit::fitLabel(m_total, QStringLiteral("-999.999.999,99"));
    sums->addWidget(m_total);
    layout->addLayout(foot);
    layout->addLayout(sums);

    m_toolbar << bArticles << bDelete << bTarget << m_discount << m_bank << m_payment << m_cardPart
              << m_lottery << m_voucher;
    m_heading << bArticles << bDelete << m_bank << m_discount << bTarget << m_payment << m_cardPart
              << m_lottery << m_voucher;
    connect(bArticles, &QPushButton::clicked, this, &TFBanco::BArticoliClick);
    connect(bDelete, &QPushButton::clicked, this, &TFBanco::BEliminaClick);
    connect(bTarget, &QPushButton::clicked, this, &TFBanco::BPrezzoScontatoClick);
    connect(m_payment, &QComboBox::currentIndexChanged, this, &TFBanco::paymentModeChanged);
    connect(m_voucher, &QLineEdit::returnPressed, this, &TFBanco::voucherEntered);
    connect(m_voucher, &QLineEdit::textEdited, m_voucherLeft, &QLabel::clear);
}

// The header's boxes bound to the sale's VENDITE record.
void TFBanco::bindHeader() {
    m_binding = new FieldBinding(m_sale->header(), this);
    m_binding->setAutoEdit(false);
    m_binding->bind(m_number, doc::NUMDOC);
    m_binding->bind(m_date, doc::DATADOC);
    m_binding->bind(m_discount, doc::SCONTO);
    m_binding->bind(m_bank, saleColumns::ISBANCA);
    m_discount->setMaxLength(6);
    // Six of the widest digit: any value the box takes shows whole.
    TextFit::fitLineEdit(m_discount, QStringLiteral("000000"));
}

TFBanco::~TFBanco() {
    releaseVoucher();
    // The binding reads the header handle, which goes with the sale before
    // the boxes go: a box losing the focus then must not reach it.
    delete m_binding;
    if (m_busy)
        QApplication::restoreOverrideCursor();
}

bool TFBanco::eventFilter(QObject *watched, QEvent *event) {
    // The customer list is read when it is first wanted, not at every sale.
    if (watched == m_customer &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::MouseButtonPress))
        listCustomers();
    return DocumentWindow::eventFilter(watched, event);
}

void TFBanco::setArticleArchive(TFArcArt *archive, QWidget *panel) {
    m_articleArchive = archive;
    m_archivePanel = panel;
}

bool TFBanco::isTransmitting() const {
    return m_checkout->isSending();
}

void TFBanco::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous() && !m_activated) {
        m_activated = true;
        beginSale();
    }
}

void TFBanco::closeEvent(QCloseEvent *event) {
    if (refuseWhileSending()) {
        event->ignore();
        return;
    }
    releaseVoucher();
    QWidget::closeEvent(event);
}

void TFBanco::hideEvent(QHideEvent *event) {
    m_photo->hide();
    DocumentWindow::hideEvent(event);
}

bool TFBanco::refuseWhileSending() {
    if (!m_checkout->isSending())
        return false;
    m_shop.prompter().error(SaleCheckout::busyText);
    return true;
}

void TFBanco::beginSale() {
    IsNew = DocumentKey == 0;
    setWindowTitle(IsNew ? QStringLiteral("Nuova Vendita") : QStringLiteral("Modifica Vendita"));
    m_panel->hide();
    m_grid->hideSearch();
    bool found = true;
    runReportingEngineErrors(m_shop.prompter(), [&] { found = m_sale->begin(DocumentKey); });
    if (!found) {
        // Left open, the window would save over whatever record the header
        // handle stands on.
        m_shop.prompter().error(QStringLiteral("Vendita non trovata!"));
        runReportingEngineErrors(m_shop.prompter(), [&] { m_sale->cancel(); });
        m_grid->reload();
        finish();
        return;
    }
    m_sale->sheet().TotalsSuspended = true;
    m_binding->load();
    releaseVoucher();
    m_payment->setCurrentIndex(0);
    m_cardPart->clear();
    m_lottery->clear();
    m_voucher->clear();
    m_voucherLeft->clear();
    m_giftBox->setChecked(false);
    paymentModeChanged();
    // The descriptions are listed when the "Articolo" column is first
    // entered: a sale made by scanning never needs them.
    m_descriptionsListed = false;
    m_grid->setArticleDescriptions({});
    m_customerLoading = true;
    m_card->clear();
    m_points->clear();
    m_customer->setCurrentIndex(-1);
    m_customerLoading = false;
    if (!IsNew) {
        const qint64 code = m_sale->header().asInteger(customerColumns::saleCustomer);
        if (code > 0)
            runReportingEngineErrors(m_shop.prompter(), [&] {
                if (const auto c =
                        SaleCustomer::byCode(m_shop.database(), code, m_shop.texts().pointsPerEuro))
                    showCustomer(code, c->customer.card, c->points);
            });
    }
    const int w = m_grid->viewport()->width();
    const int c = std::max(20, (w - 243) / 16);
    const QList<int> widths = {100, 0, 4 * c, 3 * c, 45, 58, 2 * c, c, 2 * c};
    for (int i = 0; i < widths.size(); ++i)
        if (i != m_grid->articleColumn())
            m_grid->setColumnWidth(i, widths[i]);
    m_panel->layoutFor(w);
    m_grid->reload();
    m_sale->sheet().TotalsSuspended = false;
    computeTotals();
    showWaiting();
    goToRow(firstFreeRow());
}

void TFBanco::showWaiting() {
    int waiting = 0;
    runReportingEngineErrors(m_shop.prompter(),
                             [&] { waiting = OfflineSales::waiting(m_shop.database()); });
    m_waiting->setText(QStringLiteral("Vendite non fiscalizzate: %1").arg(waiting));
    m_waiting->setToolTip(QStringLiteral("Da inviare al registratore o registrare a mano: "
                                         "\"Non fiscalizzate\" nell'archivio vendite"));
    m_waiting->setVisible(waiting > 0);
}

void TFBanco::cellEntered(const QModelIndex &current) {
    if (m_descriptionsListed || !current.isValid() || current.column() != m_grid->articleColumn())
        return;
    m_descriptionsListed = true;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (m_sale->articles().isOpen())
            m_grid->setArticleDescriptions(m_sale->articles().descriptions());
    });
}

void TFBanco::goToRow(int row) {
    TableModel &model = m_grid->model();
    row = std::clamp(row, 0, std::max(0, model.rowCount() - 1));
    m_grid->setFocus();
    m_grid->setCurrentIndex(model.index(row, 0));
}

void TFBanco::showCodeBox() {
    QLineEdit *box = m_grid->codeBox();
    const QModelIndex at = m_grid->currentIndex();
    if (at.isValid())
        box->setGeometry(
            m_grid->visualRect(m_grid->model().index(at.row(), 0)).adjusted(0, 0, 0, 2));
    box->clear();
    box->show();
    box->raise();
    box->setFocus();
}

double TFBanco::discount() const {
    return Formats::parseNumber(m_discount->text()).value_or(0);
}

void TFBanco::discountChanged() {
    if (m_binding->isLoading())
        return;
    db::Table &header = m_sale->header();
    if (header.isOpen() && header.state() != db::Table::State::Browse) {
        const auto value = Formats::parseNumber(m_discount->text());
        runReportingEngineErrors(m_shop.prompter(), [&] {
            if (value)
                header.setFloat(doc::SCONTO, *value);
            else
                header.setNull(doc::SCONTO);
        });
    }
    computeTotals();
}

void TFBanco::computeTotals() {
    if (m_sale->sheet().TotalsSuspended || !m_sale->sheet().table().isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const int row = m_grid->model().currentRow();
        const SaleTotals totals = m_sale->totals(discount());
        db::Table &header = m_sale->header();
        if (header.isOpen() && header.state() != db::Table::State::Browse)
            header.setFloat(doc::TOTALE, totals.net);
        m_pieces->setText(QString::number(totals.pieces));
        m_total->setText(Formats::display(u",0.00", totals.net));
        if (row >= 0 && row != m_grid->model().currentRow())
            m_grid->model().setCurrentRow(row);
    });
}

void TFBanco::codeEntered(const QString &code) {
    const int row = m_grid->model().currentRow();
    SaleCodeLookup::Result entered;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] { entered = m_sale->enterCode(code); }))
        return;
    switch (entered.kind) {
    case SaleCodeLookup::Result::Kind::Line:
        m_grid->reload();
        computeTotals();
        goToRow(row + 1);
        m_photo->show(m_sale->lastArticle());
        break;
    case SaleCodeLookup::Result::Kind::ChooseSize:
        openSizePanel();
        break;
    case SaleCodeLookup::Result::Kind::NotFound:
        m_shop.prompter().error(code + QStringLiteral("\r") + entered.refusal);
        showCodeBox();
        break;
    }
}

void TFBanco::articleChosen(const QString &description) {
    bool found = false;
    runReportingEngineErrors(m_shop.prompter(),
                             [&] { found = m_sale->chooseByDescription(description); });
    if (!found) {
        m_shop.prompter().error(description + QStringLiteral("\r") + notFoundText);
        return;
    }
    openSizePanel();
}

int TFBanco::firstFreeRow() const {
    const TableModel &model = m_grid->model();
    const int descriptionColumn = model.columnOf(sheet::DESCRIZION);
    int row = 0;
    while (row < model.rowCount() &&
           !model.data(model.index(row, descriptionColumn)).toString().trimmed().isEmpty())
        ++row;
    return row;
}

void TFBanco::takePickedArticle(qint64 key) {
    goToRow(firstFreeRow());
    bool found = false;
    runReportingEngineErrors(m_shop.prompter(), [&] { found = m_sale->chooseByKey(key); });
    if (!found) {
        m_shop.prompter().error(notFoundText);
        return;
    }
    openSizePanel();
}

void TFBanco::articlePicked(qint64 key, const QString &) {
    takePickedArticle(key);
}

void TFBanco::receiveNotification(int) {
    // The picked article arrives through the archive's articlePicked().
}

void TFBanco::openSizePanel() {
    // The row stays in editing until a size is chosen or the panel cancelled:
    // nothing may move the sheet meanwhile (moving would store it).
    m_grid->hideSearch();
    for (QWidget *w : std::as_const(m_toolbar))
        w->setEnabled(false);
    m_grid->setEnabled(false);
    const QRect area = m_grid->geometry();
    m_panel->setGeometry(area.left() + 30, area.top() + 30, std::max(200, area.width() - 60),
                         std::max(150, area.height() - 60));
    m_panel->layoutFor(m_grid->viewport()->width());
    m_panel->show(m_sale->chosenDescription(), m_sale->chosenSizeTypeName(), m_sale->stock());
    m_photo->show(m_sale->lastArticle());
}

void TFBanco::closeSizePanel() {
    m_panel->hide();
    for (QWidget *w : std::as_const(m_toolbar))
        w->setEnabled(true);
    m_grid->setEnabled(true);
}

void TFBanco::sizeChosen(int row, int position) {
    const int sheetRow = m_grid->model().currentRow();
    bool chosen = false;
    runReportingEngineErrors(m_shop.prompter(),
                             [&] { chosen = m_sale->chooseSize(row, position); });
    if (!chosen)
        return;
    closeSizePanel();
    m_grid->reload();
    computeTotals();
    goToRow(sheetRow + 1);
}

void TFBanco::sizeCancelled() {
    const int sheetRow = m_grid->model().currentRow();
    runReportingEngineErrors(m_shop.prompter(), [&] { m_sale->cancelSize(); });
    m_photo->hide();
    closeSizePanel();
    m_grid->reload();
    computeTotals();
    goToRow(sheetRow);
}

void TFBanco::BEliminaClick() {
    bool deleted = false;
    runReportingEngineErrors(m_shop.prompter(), [&] { deleted = m_sale->deleteLine(); });
    if (!deleted)
        return;
    const int row = m_grid->model().currentRow();
    m_grid->reload();
    computeTotals();
    goToRow(row);
}

void TFBanco::BPrezzoScontatoClick() {
    const auto typed = m_shop.prompter().input(QStringLiteral("CORVALE QUIRA"),
                                               QStringLiteral("Prezzo scontato"), QString());
    if (!typed)
        return;
    const auto price = Formats::parseNumber(typed->trimmed());
    if (!price || *price < 0)
        return;
    std::optional<double> percent;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] { percent = m_sale->agreePrice(*price); }))
        return;
    if (!percent)
        return;
    const QString text = SalePrintout::percentText(*percent);
    m_discount->setText(text.isEmpty() ? QStringLiteral("0") : text);
    // The same percent typed again changes no text: the total follows the price all the same.
    computeTotals();
}

void TFBanco::BStampaClick() {
    SalePrintout printout;
    const bool ready = runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sale->sheet().postPending();
        computeTotals();
        printout.rows = m_sale->lines();
        printout.reductions = SalePrintout::reductionsOf(
            m_shop.database(), printout.rows,
            m_sale->header().asDate(doc::DATADOC).isValid() ? m_sale->header().asDate(doc::DATADOC)
                                                            : m_shop.clock().today());
        printout.discount = discount();
        printout.total = m_sale->totals(printout.discount).net;
        printout.readShop(m_shop.database());
    });
    if (!ready)
        return;
    m_shop.printService().print(QStringLiteral("Vendita"),
                                [printout](PageCanvas &canvas) { printout.draw(canvas); });
    goToRow(0);
}

void TFBanco::BScontrinoClick() {
    if (m_checkout->state() != SaleCheckout::State::Idle) {
        m_shop.prompter().error(SaleCheckout::busyText);
        return;
    }
    SaleTotals totals;
    bool empty = false;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            m_sale->sheet().postPending();
            totals = m_sale->totals(discount());
            empty = m_sale->lines().isEmpty();
        }))
        return;
    computeTotals();
    // A receipt without articles would be a fiscal document of nothing.
    if (empty) {
        m_shop.prompter().error(noArticlesText);
        return;
    }
    m_grid->hideSearch();
    // A stored sale whose sending the register did not confirm may have been
    // printed: it goes again only once the operator has checked.
    if (m_sale->fiscalState() == SaleFiscalState::Unconfirmed &&
        !m_shop.prompter().confirm(
            OfflineSales::checkAgainText.arg(m_sale->header().asInteger(doc::NUMDOC))))
        return;
    const double percent = discount();
    const QString lottery = m_lottery->text().trimmed().toUpper();
    if (!SalePaymentChoice::lotteryCodeValid(lottery)) {
        m_shop.prompter().error(SalePaymentChoice::lotteryText);
        return;
    }
    QString problem;
    // The voucher pays what it holds, at most the total.
    std::optional<Voucher> voucher;
    Money voucherPart;
    const QString voucherText = m_voucher->text().trimmed();
    if (!voucherText.isEmpty()) {
        if (!runReportingEngineErrors(m_shop.prompter(), [&] {
                voucher = VoucherStore(m_shop.database())
                              .usable(voucherText, m_shop.clock().today(), &problem);
            }))
            return;
        if (!voucher) {
            m_shop.prompter().error(problem);
            return;
        }
        voucherPart = std::min(voucher->residual, Money::of(totals.net));
    }
    const auto payment =
        SalePaymentChoice::make(SalePaymentChoice::Mode(m_payment->currentIndex()),
                                Money::of(totals.net), m_cardPart->text(), &problem, voucherPart);
    if (!payment) {
        m_shop.prompter().error(problem);
        return;
    }
    if (!lottery.isEmpty() && payment->part(PaymentType::Card).isZero()) {
        m_shop.prompter().error(SalePaymentChoice::lotteryCashText);
        return;
    }
    // The voucher's part is taken before the receipt goes: a second window
    // spending the same voucher meanwhile is refused, and what the register
    // does not take goes back on the voucher.
    releaseVoucher();
    if (voucher && !voucherPart.isZero()) {
        qint64 claim = 0;
        if (!runReportingEngineErrors(m_shop.prompter(), [&] {
                claim = VoucherStore(m_shop.database())
                            .claim(voucher->number, voucherPart, m_shop.clock().today(),
                                   m_shop.clock().now().time(), &problem);
            }))
            return;
        if (claim == 0) {
            m_shop.prompter().error(problem);
            return;
        }
        m_voucherClaim = claim;
    }
    // A sale the register already numbered never goes into the takings twice.
    m_checkout->setOfflineAllowed(!m_sale->hasRegisterDocument());
    const bool sent = m_checkout->send(
        m_sale->settings(), totals.net,
        [&](FiscalDevice &device, const SalePayment &paid) {
            // A sale that cannot be read sends nothing.
            return runReportingEngineErrors(m_shop.prompter(), [&] {
                m_sale->describe(device, percent, paid);
                // A customer taking part in the lottery gives no codice fiscale.
                if (!lottery.isEmpty())
                    device.lotteryCode(lottery);
                else
                    device.customerTaxCode(m_sale->customerTaxCode());
            });
        },
        *payment);
    if (!sent)
        releaseVoucher();
}

void TFBanco::voucherEntered() {
    m_voucherLeft->clear();
    const QString text = m_voucher->text().trimmed();
    if (text.isEmpty())
        return;
    QString problem;
    std::optional<Voucher> voucher;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            voucher =
                VoucherStore(m_shop.database()).usable(text, m_shop.clock().today(), &problem);
        }))
        return;
    if (!voucher) {
        m_shop.prompter().error(problem);
        return;
    }
    m_voucherLeft->setText(QStringLiteral("Residuo ") + QChar(0x20AC) + QStringLiteral(" ") +
                           Formats::format(u"%.2n", voucher->residual.toDouble()));
}

void TFBanco::releaseVoucher() {
    if (m_voucherClaim == 0)
        return;
    const qint64 claim = std::exchange(m_voucherClaim, 0);
    // A receipt the register printed spent the voucher, whatever becomes of
    // the sale.
    if (m_checkout->receiptTaken())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        VoucherStore(m_shop.database())
            .giveBack(claim, m_shop.clock().today(), m_shop.clock().now().time());
    });
}

void TFBanco::paymentModeChanged() {
    const bool split = m_payment->currentIndex() == int(SalePaymentChoice::Mode::Split);
    m_cardPart->setVisible(split);
    if (!split)
        m_cardPart->clear();
}

void TFBanco::setBusy(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    for (QWidget *w : std::as_const(m_heading))
        w->setEnabled(!busy);
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TFBanco::transmissionEnded() {
    // A receipt refused for certain gives the voucher its part back; one the
    // register may have printed keeps it until the operator decides, and a
    // sale about to be stored without the register spends it.
    if (!m_checkout->settled() &&
        m_checkout->lastOutcome().status != FiscalOutcome::Status::Unconfirmed)
        releaseVoucher();
    // The sale waits for the operator (or for the next scan) on a free row.
    if (m_sale->sheet().table().isOpen()) {
        m_grid->reload();
        goToRow(firstFreeRow());
    }
}

void TFBanco::BSalvaClick() {
    if (refuseWhileSending())
        return;
    const auto date = Formats::parseDate(m_date->text());
    if (!date) {
        m_shop.prompter().error(QStringLiteral("La data della vendita non è valida!"));
        return;
    }
    const bool saved = runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sale->sheet().postPending();
        computeTotals();
        // A box the header cannot take has been reported: saving would keep
        // the old value behind the user's back.
        if (!m_binding->store())
            return false;
        // A receipt the register took goes with the sale: its number, the
        // payment split, the lottery code and codice fiscale sent; so does
        // the payment of a sale stored without the register.
        m_sale->setFiscalRecord(m_checkout->settled() ? std::optional(m_checkout->record())
                                                      : std::nullopt);
        DocumentKey = m_sale->save(*date, discount());
        if (m_voucherClaim != 0 && m_checkout->settled())
            VoucherStore(m_shop.database()).attach(std::exchange(m_voucherClaim, 0), DocumentKey);
        return true;
    });
    if (!saved)
        return;
    releaseVoucher();
    // The register's own gift copy follows the receipt it has just issued.
    if (m_giftBox->isChecked())
        m_gift->issue(DocumentKey, m_checkout->receiptTaken());
    m_checkout->reset();
    if (IsNew && m_sale->settings().permanent) {
        DocumentKey = 0;
        beginSale();
        return;
    }
    runReportingEngineErrors(m_shop.prompter(), [&] { m_sale->close(); });
    m_grid->hideSearch();
    m_grid->reload();
    finish();
}

void TFBanco::BAnnullaClick() {
    if (refuseWhileSending())
        return;
    releaseVoucher();
    m_checkout->reset();
    m_panel->hide();
    m_grid->hideSearch();
    runReportingEngineErrors(m_shop.prompter(), [&] { m_sale->cancel(); });
    m_grid->reload();
    finish();
}

void TFBanco::BArticoliClick() {
    if (!m_articleArchive) {
        reportNotYetAvailable(m_shop.prompter());
        return;
    }
    m_grid->hideSearch();
    m_articleArchive->setMode(TFArcArt::Mode::Picking, this);
    connect(m_articleArchive, &TFArcArt::articlePicked, this, &TFBanco::articlePicked,
            Qt::UniqueConnection);
    DocumentWindow::place(m_articleArchive, m_archivePanel);
}

void TFBanco::listCustomers() {
    if (m_customersListed)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        db::Table customers(m_shop.database());
        customers.setTableName(customerColumns::customers);
        customers.setIndexName(customerColumns::name);
        customers.open();
        const bool loading = m_customerLoading;
        m_customerLoading = true;
        m_customer->fill(customers, customerColumns::name, customerColumns::code);
        m_customer->setCurrentIndex(-1);
        m_customerLoading = loading;
        m_customersListed = true;
    });
}

void TFBanco::showCustomer(qint64 code, const QString &card, qint64 points) {
    const bool loading = m_customerLoading;
    m_customerLoading = true;
    listCustomers();
    m_customer->setCurrentKey(code);
    m_card->setText(card);
    m_points->setText(QString::number(points));
    m_customerLoading = loading;
}

void TFBanco::cardEntered() {
    if (m_customerLoading)
        return;
    const QString card = m_card->text();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::optional<SaleCustomer> found;
    const bool ok = runReportingEngineErrors(m_shop.prompter(), [&] {
        found = SaleCustomer::byCard(m_shop.database(), card, m_shop.texts().pointsPerEuro);
        if (found)
            m_sale->setCustomer(found->customer.code, found->customer.name, found->customer.card);
        else
            m_sale->setCustomer(0, QString(), QString());
    });
    QApplication::restoreOverrideCursor();
    if (!ok)
        return;
    if (found) {
        showCustomer(found->customer.code, found->customer.card, found->points);
        // A card is often scanned too: the next scan is an article again.
        goToRow(m_grid->model().currentRow());
        return;
    }
    m_customerLoading = true;
    m_customer->setCurrentIndex(-1);
    m_customerLoading = false;
    m_points->setText(QStringLiteral("0"));
    m_shop.prompter().error(noCardText);
}

void TFBanco::customerChosen() {
    if (m_customerLoading)
        return;
    const QVariant key = m_customer->currentKey();
    if (!key.isValid())
        return;
    std::optional<SaleCustomer> found;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        found =
            SaleCustomer::byCode(m_shop.database(), key.toLongLong(), m_shop.texts().pointsPerEuro);
        if (found)
            m_sale->setCustomer(found->customer.code, found->customer.name, found->customer.card);
    });
    if (!found)
        return;
    showCustomer(found->customer.code, found->customer.card, found->points);
    goToRow(m_grid->model().currentRow());
}

void TFBanco::BClientiClick() {
    TFFornitore card(m_shop, this);
    card.CustomerMode = true;
    card.NewRecord = true;
    card.exec();
    if (card.SavedName.isEmpty())
        return;
    m_customersListed = false;
    listCustomers();
    const bool loading = m_customerLoading;
    m_customerLoading = true;
    m_customer->setCurrentKey(card.RecordCode);
    m_customerLoading = loading;
    customerChosen();
}

} // namespace corvale
