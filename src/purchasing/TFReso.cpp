#include "purchasing/TFReso.h"

#include "catalogue/SizeCurve.h"
#include "catalogue/StockRoutines.h"
#include "catalogue/TFScheda.h"
#include "db/Table.h"
#include "documents/ArticleList.h"
#include "documents/DocumentEntry.h"
#include "documents/DocumentPrintout.h"
#include "documents/DocumentSaver.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"
#include "documents/SheetGrid.h"
#include "documents/SizePanel.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "printing/PrintService.h"
#include "purchasing/ReturnPrintout.h"
#include "purchasing/SupplierCardLink.h"
#include "purchasing/SupplierChoice.h"
#include "purchasing/TFFornitore.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "widgets/FieldBinding.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/LookupCombo.h"
#include "widgets/TableModel.h"
#include "widgets/TitleBand.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

namespace {

QPushButton *button(const QString &caption, QWidget *parent, QBoxLayout *layout) {
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(caption);
    b->setMinimumWidth(90);
    layout->addWidget(b);
    return b;
}

} // namespace

TFReso::TFReso(Shop &shop, Mode mode, QWidget *parent)
    : DocumentWindow(parent)
    , DocumentMode(mode)
    , m_shop(shop)
    , m_sheet(std::make_unique<LineSheet>(shop.database(), kind()))
    , m_articles(std::make_unique<ArticleList>(shop.database(), false))
    , m_header(std::make_unique<db::Table>(shop.database())) {
    const bool order = mode == Mode::Order;
    setObjectName(QStringLiteral("TFReso"));
    m_header->setTableName(kind().headerTable);
    m_header->setIndexName(doc::NUMREG);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *band = new TitleBand(
        order ? QStringLiteral("ORDINE FORNITORE") : QStringLiteral("RESO FORNITORE"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(8, 4, 8, 4);
    QPushButton *bCancel = button(QStringLiteral("Annulla"), this, toolbar);
    QPushButton *bSave = button(QStringLiteral("Salva"), this, toolbar);
    QPushButton *bPrint = button(QStringLiteral("Stampa"), this, toolbar);
    toolbar->addStretch();
    layout->addLayout(toolbar);
    m_toolbar = {bCancel, bSave, bPrint};

    auto *head = new QGridLayout;
    head->setContentsMargins(8, 0, 8, 0);
    head->addWidget(new QLabel(QStringLiteral("Fornitore"), this), 0, 0);
    m_supplier = new LookupCombo(this);
    m_supplier->setObjectName(QStringLiteral("Fornitore"));
    m_supplier->setMinimumWidth(240);
    m_suppliers = std::make_unique<SupplierChoice>(shop, *m_supplier);
    head->addWidget(m_supplier, 1, 0);
    QPushButton *bNewSupplier = new QPushButton(QStringLiteral("Nuovo Fornitore"), this);
    bNewSupplier->setObjectName(QStringLiteral("Nuovo Fornitore"));
    head->addWidget(bNewSupplier, 1, 1);
    auto edit = [&](int column, const QString &caption, const QString &name) {
        head->addWidget(new QLabel(caption, this), 0, column);
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        head->addWidget(e, 1, column);
        return e;
    };
    m_number = edit(2, order ? QStringLiteral("N° Ordine") : QStringLiteral("N° Reso"),
                    QStringLiteral("Numero"));
    m_date = edit(3, QStringLiteral("Data"), QStringLiteral("Data"));
    m_onlySupplier = new QCheckBox(QStringLiteral("Solo articoli del Fornitore"), this);
    m_onlySupplier->setObjectName(QStringLiteral("SoloFornitore"));
    head->addWidget(m_onlySupplier, 1, 4);
    head->setColumnStretch(5, 1);
    layout->addLayout(head);

    m_grid = new SheetGrid(m_sheet->table(), this);
    m_grid->setObjectName(QStringLiteral("Griglia"));
    m_grid->addColumn(sheet::BARCODE, QStringLiteral("Codice"));
    m_grid->setArticleColumn(m_grid->addColumn(sheet::DESCRIZION, QStringLiteral("Articolo")));
    m_grid->addColumn(sheet::MARCHIO, QStringLiteral("Marchio"));
    m_grid->addColumn(sheet::cColore, QStringLiteral("Colore"));
    m_grid->addColumn(sheet::fTAGLIA, QStringLiteral("Taglia"));
    m_grid->addColumn(sheet::QUANTITA, QStringLiteral("Quantità"), QStringLiteral("#"), true);
    m_grid->addColumn(sheet::PREZZO, QStringLiteral("Prezzo"), QStringLiteral(",0.00"), true);
    m_grid->addColumn(sheet::cIMPORTO, QStringLiteral("Importo"), QStringLiteral(",0.00"));
    m_grid->addColumn(sheet::SCONTO, QStringLiteral("SCONTO"));
    m_grid->addColumn(sheet::IVA, QStringLiteral("IVA"));
    m_grid->horizontalHeader()->setSectionResizeMode(m_grid->articleColumn(), QHeaderView::Stretch);
    layout->addWidget(m_grid, 1);

    auto *foot = new QHBoxLayout;
    foot->setContentsMargins(8, 4, 8, 8);
    QPushButton *bDelete = button(QStringLiteral("Elimina"), this, foot);
    QPushButton *bNewArticle = button(QStringLiteral("Nuovo"), this, foot);
    // A new article is made while ordering, not while sending goods back.
    bNewArticle->setVisible(order);
    m_toolbar << bDelete << bNewArticle << bNewSupplier;
    foot->addStretch();
    auto value = [&](const QString &caption, const QString &name) {
        foot->addWidget(new QLabel(caption, this));
        auto *l = new QLabel(this);
        l->setObjectName(name);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumWidth(90);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        foot->addWidget(l);
        return l;
    };
    m_pieces = value(QStringLiteral("Numero Pezzi"), QStringLiteral("NumeroPezzi"));
    m_total = value(QStringLiteral("Totale €"), QStringLiteral("Totale"));
    layout->addLayout(foot);

    m_binding = new FieldBinding(*m_header, this);
    m_binding->setAutoEdit(false);
    m_binding->bind(m_number, doc::NUMDOC);
    m_binding->bind(m_date, doc::DATADOC);

    m_panel = new SizePanel(shop.database(), this);
    m_panel->setSizeTypeCaption(QStringLiteral("TARGET"));

    connect(bCancel, &QPushButton::clicked, this, &TFReso::BAnnullaClick);
    connect(bSave, &QPushButton::clicked, this, &TFReso::BSalvaClick);
    connect(bPrint, &QPushButton::clicked, this, &TFReso::BStampaClick);
    connect(bNewSupplier, &QPushButton::clicked, this, &TFReso::BNuovoFornitoreClick);
    connect(bDelete, &QPushButton::clicked, this, &TFReso::BEliminaClick);
    connect(bNewArticle, &QPushButton::clicked, this, &TFReso::BNuovoClick);
    connect(m_supplier, &QComboBox::currentIndexChanged, this, &TFReso::supplierChanged);
    connect(m_onlySupplier, &QCheckBox::toggled, this, &TFReso::onlySupplierChanged);
    connect(m_grid, &SheetGrid::cellLeft, this, &TFReso::computeTotals);
    connect(&m_grid->model(), &QAbstractItemModel::dataChanged, this, &TFReso::computeTotals);
    connect(&m_grid->model(), &TableModel::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
    connect(m_binding, &FieldBinding::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
    m_entry = new DocumentEntry(shop, *m_sheet, *m_articles, *m_grid, *m_panel, this);
    m_entry->setWindowControls(m_toolbar);
    connect(m_entry, &DocumentEntry::linesChanged, this, &TFReso::computeTotals);
    if (DocumentMode == Mode::Order) {
        m_panel->offerCurve(true);
        connect(m_panel, &SizePanel::curveClicked, this, &TFReso::BCurvaClick);
    }
    FocusHighlighter::install(this);
}

TFReso::~TFReso() = default;

DocumentKind TFReso::kind() const {
    return DocumentMode == Mode::Order ? DocumentKind::supplierOrder()
                                       : DocumentKind::supplierReturn();
}

void TFReso::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous() && !m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void TFReso::FormActivate() {
    IsNew = DocumentKey == 0;
    const bool order = DocumentMode == Mode::Order;
    setWindowTitle(
        QStringLiteral("%1 %2").arg(IsNew ? QStringLiteral("Nuovo") : QStringLiteral("Modifica"),
                                    order ? QStringLiteral("Ordine") : QStringLiteral("Reso")));
    m_sheet->TotalsSuspended = true;
    bool found = true;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_suppliers->close();
        m_suppliers->open();
        m_panel->openTables();
        m_sheet->open();
        m_header->close();
        m_header->open();
        if (IsNew) {
            const int number = m_shop.routines().NextYearNumber(kind().headerTable);
            m_header->append();
            m_header->setDate(doc::DATADOC, m_shop.clock().today());
            m_header->setInteger(doc::NUMDOC, number);
        } else {
            m_sheet->loadLines(DocumentKey);
            found = m_header->findKey(DocumentKey);
            if (found)
                m_header->edit();
        }
        m_sheet->appendBlankRows();
        m_sheet->table().first();
        m_articles->open();
    });
    if (!found) {
        // Left open, the window would save over whatever record the header
        // handle stands on.
        m_shop.prompter().error(order ? QStringLiteral("Ordine non trovato!")
                                      : QStringLiteral("Reso non trovato!"));
        closeTables();
        finish();
        return;
    }
    m_binding->load();
    m_suppliers->fill(m_header->isOpen() ? m_header->asInteger(doc::NUMRAG) : 0);
    m_grid->setArticleDescriptions(m_articles->isOpen() ? m_articles->descriptions()
                                                        : QStringList());
    m_grid->reload();
    m_sheet->TotalsSuspended = false;
    computeTotals();
    m_grid->setFocus();
}

void TFReso::supplierChanged() {
    const auto supplier = m_suppliers->chosen();
    if (supplier && m_header->isOpen() && m_header->state() != db::Table::State::Browse)
        runReportingEngineErrors(m_shop.prompter(),
                                 [&] { m_header->setInteger(doc::NUMRAG, *supplier); });
    if (m_onlySupplier->isChecked())
        onlySupplierChanged();
}

void TFReso::onlySupplierChanged() {
    if (!m_articles->isOpen())
        return;
    const auto supplier = m_suppliers->chosen();
    if (m_onlySupplier->isChecked() && !supplier)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_articles->setSupplier(m_onlySupplier->isChecked() ? supplier : std::nullopt);
        m_grid->setArticleDescriptions(m_articles->descriptions());
    });
}

void TFReso::computeTotals() {
    if (m_sheet->TotalsSuspended || !m_sheet->table().isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        // Returns and orders carry no document discount.
        const auto totals = m_sheet->computeTotals(0);
        if (!totals)
            return;
        if (m_header->isOpen() && m_header->state() != db::Table::State::Browse) {
            m_header->setFloat(doc::IMPONIBILE, totals->taxable);
            m_header->setFloat(doc::IMPOSTA, totals->tax);
            m_header->setFloat(doc::TOTALE, totals->total);
        }
        m_pieces->setText(QString::number(totals->pieces));
        m_total->setText(Formats::display(u",0.00", totals->total));
    });
}

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

void TFReso::BEliminaClick() {
    m_entry->deleteLine();
}

void TFReso::BSalvaClick() {
    if (!m_suppliers->require())
        return;
    const auto date = Formats::parseDate(m_date->text());
    if (!date) {
        m_shop.prompter().error(DocumentMode == Mode::Order
                                    ? QStringLiteral("La data dell'ordine non è valida!")
                                    : QStringLiteral("La data del reso non è valida!"));
        return;
    }
    const bool saved = runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sheet->postPending();
        computeTotals();
        m_binding->store();
        const QList<SheetRow> lines = m_sheet->allLines();
        const SheetTotals totals = LineSheet::totalsOf(lines, 0);
        StockRoutines stock(m_shop.database());
        DocumentSaver saver(m_shop.database(), stock, m_shop.routines(), kind());
        const qint64 supplier = *m_suppliers->chosen();
        const QString supplierName = m_supplier->currentText();
        DocumentKey = saver.save(*m_header, DocumentKey, lines, *date, [&](db::Table &h) {
            h.setInteger(doc::NUMRAG, supplier);
            h.setFloat(doc::NUMPEZZI, double(totals.pieces));
            h.setString(doc::RAGSOC, supplierName);
            h.setFloat(doc::IMPONIBILE, totals.taxable);
            h.setFloat(doc::IMPOSTA, totals.tax);
            h.setFloat(doc::TOTALE, totals.total);
        });
    });
    if (!saved)
        return;
    closeTables();
    finish();
}

void TFReso::BAnnullaClick() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (m_header->isOpen() && m_header->state() != db::Table::State::Browse)
            m_header->cancel();
    });
    closeTables();
    finish();
}

void TFReso::closeTables() {
    m_panel->hide();
    m_grid->hideSearch();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_articles->close();
        m_sheet->close();
        m_suppliers->close();
        m_header->close();
        m_panel->closeTables();
    });
    m_grid->reload();
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
        supplier.setTableName(QStringLiteral("FORNITOR"));
        supplier.setIndexName(QStringLiteral("CODICE"));
        supplier.open();
        if (supplier.findKey(*m_suppliers->chosen())) {
            printout.address = supplier.asString(QStringLiteral("ADDRESS"));
            if (!supplier.isNull(QStringLiteral("CAP")))
                printout.postcode = QString::number(supplier.asInteger(QStringLiteral("CAP")));
            printout.town = supplier.asString(QStringLiteral("CITTA"));
            printout.vatNumber = supplier.asString(QStringLiteral("PIVACF"));
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

void TFReso::BNuovoFornitoreClick() {
    m_suppliers->addNew(this);
    supplierChanged();
}

void TFReso::BNuovoClick() {
    TFFornitore supplierCard(m_shop, this);
    TFScheda card(m_shop, this);
    card.NewArticle = true;
    card.setSupplierCard(supplierCardFor(supplierCard));
    card.exec();
    m_entry->takeNewArticle(card.SavedDescription);
}

} // namespace corvale
