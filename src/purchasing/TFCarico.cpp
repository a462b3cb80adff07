#include "purchasing/TFCarico.h"

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
#include "platform/NotYetAvailable.h"
#include "printing/PrintService.h"
#include "purchasing/ReceiptPrintout.h"
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

TFCarico::TFCarico(Shop &shop, QWidget *parent)
    : DocumentWindow(parent)
    , m_shop(shop)
    , m_sheet(std::make_unique<LineSheet>(shop.database(), DocumentKind::receipt()))
    , m_articles(std::make_unique<ArticleList>(shop.database(), true))
    , m_header(std::make_unique<db::Table>(shop.database())) {
    setObjectName(QStringLiteral("TFCarico"));
    setWindowTitle(QStringLiteral("Nuovo Carico"));
    m_header->setTableName(QStringLiteral("CARICHI"));
    m_header->setIndexName(doc::NUMREG);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_band = new TitleBand(QStringLiteral("ACQUISTO"), this);
    m_band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(m_band);

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
    m_number = edit(2, QStringLiteral("N° Carico"), QStringLiteral("NCarico"));
    m_supplierDocument = edit(3, QStringLiteral("N° Doc."), QStringLiteral("NDoc"));
    m_date = edit(4, QStringLiteral("Data"), QStringLiteral("Data"));
    m_onlySupplier = new QCheckBox(QStringLiteral("Solo articoli del Fornitore"), this);
    m_onlySupplier->setObjectName(QStringLiteral("SoloFornitore"));
    head->addWidget(m_onlySupplier, 1, 5);
    head->setColumnStretch(6, 1);
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
    QPushButton *bLabels = button(QStringLiteral("Etichette"), this, foot);
    m_toolbar << bDelete << bNewArticle << bLabels << bNewSupplier;
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
    foot->addWidget(new QLabel(QStringLiteral("Sconto %"), this));
    m_discount = new QLineEdit(this);
    m_discount->setObjectName(QStringLiteral("Sconto"));
    m_discount->setMaximumWidth(60);
    foot->addWidget(m_discount);
    layout->addLayout(foot);

    m_binding = new FieldBinding(*m_header, this);
    m_binding->setAutoEdit(false);
    m_binding->bind(m_number, doc::NUMDOC);
    m_binding->bind(m_supplierDocument, doc::NUMCAR);
    m_binding->bind(m_date, doc::DATADOC);
    m_binding->bind(m_discount, doc::SCONTO);
    m_discount->setMaxLength(4);

    m_panel = new SizePanel(shop.database(), this);
    m_panel->setSizeTypeCaption(QStringLiteral("TIPO TAGLIA"));

    connect(bCancel, &QPushButton::clicked, this, &TFCarico::BAnnullaClick);
    connect(bSave, &QPushButton::clicked, this, &TFCarico::BSalvaClick);
    connect(bPrint, &QPushButton::clicked, this, &TFCarico::BStampaClick);
    connect(bNewSupplier, &QPushButton::clicked, this, &TFCarico::BNuovoFornitoreClick);
    connect(bDelete, &QPushButton::clicked, this, &TFCarico::BEliminaClick);
    connect(bNewArticle, &QPushButton::clicked, this, &TFCarico::BNuovoClick);
    connect(bLabels, &QPushButton::clicked, this, &TFCarico::BEtichetteClick);
    connect(m_supplier, &QComboBox::currentIndexChanged, this, &TFCarico::supplierChanged);
    connect(m_onlySupplier, &QCheckBox::toggled, this, &TFCarico::onlySupplierChanged);
    connect(m_discount, &QLineEdit::textChanged, this, &TFCarico::discountChanged);
    connect(m_grid, &SheetGrid::cellLeft, this, &TFCarico::computeTotals);
    connect(&m_grid->model(), &QAbstractItemModel::dataChanged, this, &TFCarico::computeTotals);
    connect(&m_grid->model(), &TableModel::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
    connect(m_binding, &FieldBinding::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
    m_entry = new DocumentEntry(shop, *m_sheet, *m_articles, *m_grid, *m_panel, this);
    m_entry->setWindowControls(m_toolbar);
    connect(m_entry, &DocumentEntry::linesChanged, this, &TFCarico::computeTotals);
    FocusHighlighter::install(this);
}

TFCarico::~TFCarico() = default;

void TFCarico::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous() && !m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void TFCarico::FormActivate() {
    IsNew = DocumentKey == 0;
    setWindowTitle(IsNew ? QStringLiteral("Nuovo Carico") : QStringLiteral("Modifica Carico"));
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
            const int number = m_shop.routines().NextYearNumber(QStringLiteral("CARICHI"));
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
        m_shop.prompter().error(QStringLiteral("Carico non trovato!"));
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

void TFCarico::supplierChanged() {
    const auto supplier = m_suppliers->chosen();
    if (supplier && m_header->isOpen() && m_header->state() != db::Table::State::Browse)
        runReportingEngineErrors(m_shop.prompter(),
                                 [&] { m_header->setInteger(doc::NUMRAG, *supplier); });
    if (m_onlySupplier->isChecked())
        onlySupplierChanged();
}

void TFCarico::onlySupplierChanged() {
    const auto supplier = m_suppliers->chosen();
    if (!supplier || !m_articles->isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_articles->setSupplier(m_onlySupplier->isChecked() ? supplier : std::nullopt);
        m_grid->setArticleDescriptions(m_articles->descriptions());
    });
}

double TFCarico::discount() const {
    return Formats::parseNumber(m_discount->text()).value_or(0);
}

void TFCarico::discountChanged() {
    if (m_binding->isLoading())
        return;
    if (m_header->isOpen() && m_header->state() != db::Table::State::Browse) {
        const auto value = Formats::parseNumber(m_discount->text());
        runReportingEngineErrors(m_shop.prompter(), [&] {
            if (value)
                m_header->setFloat(doc::SCONTO, *value);
            else
                m_header->setNull(doc::SCONTO);
        });
    }
    computeTotals();
}

void TFCarico::computeTotals() {
    if (m_sheet->TotalsSuspended || !m_sheet->table().isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const auto totals = m_sheet->computeTotals(discount());
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

void TFCarico::BEliminaClick() {
    m_entry->deleteLine();
}

void TFCarico::BSalvaClick() {
    if (!m_suppliers->require())
        return;
    const auto date = Formats::parseDate(m_date->text());
    if (!date) {
        m_shop.prompter().error(QStringLiteral("La data del carico non è valida!"));
        return;
    }
    const bool saved = runReportingEngineErrors(m_shop.prompter(), [&] {
        m_sheet->postPending();
        computeTotals();
        m_binding->store();
        // The header counts the lines that are stored, so that it never
        // disagrees with them.
        const QList<SheetRow> lines = m_sheet->allLines();
        const SheetTotals totals = LineSheet::totalsOf(lines, discount());
        StockRoutines stock(m_shop.database());
        DocumentSaver saver(m_shop.database(), stock, m_shop.routines(), DocumentKind::receipt());
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

void TFCarico::BAnnullaClick() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (m_header->isOpen() && m_header->state() != db::Table::State::Browse)
            m_header->cancel();
    });
    closeTables();
    finish();
}

void TFCarico::closeTables() {
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

void TFCarico::BNuovoFornitoreClick() {
    m_suppliers->addNew(this);
    supplierChanged();
}

void TFCarico::BNuovoClick() {
    TFFornitore supplierCard(m_shop, this);
    TFScheda card(m_shop, this);
    card.NewArticle = true;
    card.setSupplierCard(supplierCardFor(supplierCard));
    card.exec();
    m_entry->takeNewArticle(card.SavedDescription);
}

} // namespace corvale
