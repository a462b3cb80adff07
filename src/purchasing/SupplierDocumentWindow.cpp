#include "purchasing/SupplierDocumentWindow.h"

#include "catalogue/StockRoutines.h"
#include "catalogue/TFScheda.h"
#include "db/Table.h"
#include "documents/ArticleList.h"
#include "documents/DocumentEntry.h"
#include "documents/DocumentSaver.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"
#include "documents/SheetGrid.h"
#include "documents/SizePanel.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "purchasing/ContactChoice.h"
#include "purchasing/SupplierCardLink.h"
#include "purchasing/TFFornitore.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "widgets/FieldBinding.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"
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

using formkit::button;

SupplierDocumentWindow::SupplierDocumentWindow(Shop &shop, const DocumentKind &kind,
                                               bool allArticles, const Form &form, QWidget *parent)
    : DocumentWindow(parent)
    , m_shop(shop)
    , m_kind(kind)
    , m_sheet(std::make_unique<LineSheet>(shop.database(), kind))
    , m_articles(std::make_unique<ArticleList>(shop.database(), allArticles))
    , m_header(std::make_unique<db::Table>(shop.database()))
    , m_form(form) {
    setObjectName(form.windowName);
    setWindowTitle(QStringLiteral("Nuovo ") + form.noun);
    m_header->setTableName(kind.headerTable);
    m_header->setIndexName(doc::NUMREG);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_band = formkit::titleBand(form.heading, shop.folder().file(QStringLiteral("top.BMP")), this,
                                layout);

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
    m_suppliers = std::make_unique<ContactChoice>(shop, *m_supplier, ContactChoice::Kind::Supplier);
    head->addWidget(m_supplier, 1, 0);
    auto *bNewSupplier = new QPushButton(QStringLiteral("Nuovo Fornitore"), this);
    bNewSupplier->setObjectName(QStringLiteral("Nuovo Fornitore"));
    head->addWidget(bNewSupplier, 1, 1);
    int column = 2;
    m_number = formkit::labelledEdit(head, column++, form.numberCaption, form.numberName, this);
    if (form.supplierDocument)
        m_supplierDocument = formkit::labelledEdit(head, column++, QStringLiteral("N° Doc."),
                                                   QStringLiteral("NDoc"), this);
    m_date =
        formkit::labelledEdit(head, column++, QStringLiteral("Data"), QStringLiteral("Data"), this);
    m_onlySupplier = new QCheckBox(QStringLiteral("Solo articoli del Fornitore"), this);
    m_onlySupplier->setObjectName(QStringLiteral("SoloFornitore"));
    head->addWidget(m_onlySupplier, 1, column++);
    head->setColumnStretch(column, 1);
    layout->addLayout(head);

    m_grid = new SheetGrid(m_sheet->table(), this);
    m_grid->setObjectName(QStringLiteral("Griglia"));
    m_grid->addStandardColumns();
    m_grid->addColumn(sheet::cIMPORTO, QStringLiteral("Importo"), QStringLiteral(",0.00"));
    m_grid->addColumn(sheet::SCONTO, QStringLiteral("SCONTO"));
    m_grid->addColumn(sheet::IVA, QStringLiteral("IVA"));
    m_grid->horizontalHeader()->setSectionResizeMode(m_grid->articleColumn(), QHeaderView::Stretch);
    layout->addWidget(m_grid, 1);

    auto *foot = new QHBoxLayout;
    foot->setContentsMargins(8, 4, 8, 8);
    QPushButton *bDelete = button(QStringLiteral("Elimina"), this, foot);
    QPushButton *bNewArticle = button(QStringLiteral("Nuovo"), this, foot);
    bNewArticle->setVisible(form.newArticle);
    m_toolbar << bDelete << bNewArticle;
    if (form.labels) {
        m_labelsButton = button(QStringLiteral("Etichette"), this, foot);
        m_toolbar << m_labelsButton;
    }
    m_toolbar << bNewSupplier;
    foot->addStretch();
    m_pieces = formkit::valueBox(QStringLiteral("Numero Pezzi"), QStringLiteral("NumeroPezzi"),
                                 this, foot);
    m_total = formkit::valueBox(QStringLiteral("Totale €"), QStringLiteral("Totale"), this, foot);
    if (form.documentDiscount) {
        foot->addWidget(new QLabel(QStringLiteral("Sconto %"), this));
        m_discount = new QLineEdit(this);
        m_discount->setObjectName(QStringLiteral("Sconto"));
        m_discount->setMaximumWidth(60);
        foot->addWidget(m_discount);
    }
    layout->addLayout(foot);

    m_binding = new FieldBinding(*m_header, this);
    m_binding->setAutoEdit(false);
    m_binding->bind(m_number, doc::NUMDOC);
    if (m_supplierDocument)
        m_binding->bind(m_supplierDocument, doc::NUMCAR);
    m_binding->bind(m_date, doc::DATADOC);
    if (m_discount) {
        m_binding->bind(m_discount, doc::SCONTO);
        m_discount->setMaxLength(4);
        connect(m_discount, &QLineEdit::textChanged, this,
                &SupplierDocumentWindow::discountChanged);
    }

    m_panel = new SizePanel(shop.database(), this);
    m_panel->setSizeTypeCaption(form.sizeTypeCaption);

    connect(bCancel, &QPushButton::clicked, this, &SupplierDocumentWindow::BAnnullaClick);
    connect(bSave, &QPushButton::clicked, this, &SupplierDocumentWindow::BSalvaClick);
    connect(bPrint, &QPushButton::clicked, this, &SupplierDocumentWindow::BStampaClick);
    connect(bNewSupplier, &QPushButton::clicked, this,
            &SupplierDocumentWindow::BNuovoFornitoreClick);
    connect(bDelete, &QPushButton::clicked, this, &SupplierDocumentWindow::BEliminaClick);
    connect(bNewArticle, &QPushButton::clicked, this, &SupplierDocumentWindow::BNuovoClick);
    connect(m_supplier, &QComboBox::currentIndexChanged, this,
            &SupplierDocumentWindow::supplierChanged);
    connect(m_onlySupplier, &QCheckBox::toggled, this,
            &SupplierDocumentWindow::onlySupplierChanged);
    connect(m_grid, &SheetGrid::cellLeft, this, &SupplierDocumentWindow::computeTotals);
    connect(&m_grid->model(), &QAbstractItemModel::dataChanged, this,
            &SupplierDocumentWindow::computeTotals);
    connect(&m_grid->model(), &TableModel::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
    connect(m_binding, &FieldBinding::writeFailed, this,
            [this](const QString &message) { m_shop.prompter().error(message); });
    m_entry = new DocumentEntry(shop, *m_sheet, *m_articles, *m_grid, *m_panel, this);
    m_entry->setWindowControls(m_toolbar);
    connect(m_entry, &DocumentEntry::linesChanged, this, &SupplierDocumentWindow::computeTotals);
    FocusHighlighter::install(this);
}

SupplierDocumentWindow::~SupplierDocumentWindow() = default;

void SupplierDocumentWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous() && !m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void SupplierDocumentWindow::FormActivate() {
    IsNew = DocumentKey == 0;
    setWindowTitle((IsNew ? QStringLiteral("Nuovo ") : QStringLiteral("Modifica ")) + m_form.noun);
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
            const int number = m_shop.routines().NextYearNumber(m_kind.headerTable);
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
        m_shop.prompter().error(m_form.noun + QStringLiteral(" non trovato!"));
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

void SupplierDocumentWindow::supplierChanged() {
    const auto supplier = m_suppliers->chosen();
    if (supplier && m_header->isOpen() && m_header->state() != db::Table::State::Browse)
        runReportingEngineErrors(m_shop.prompter(),
                                 [&] { m_header->setInteger(doc::NUMRAG, *supplier); });
    if (m_onlySupplier->isChecked())
        onlySupplierChanged();
}

void SupplierDocumentWindow::onlySupplierChanged() {
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

double SupplierDocumentWindow::discount() const {
    return m_discount ? Formats::parseNumber(m_discount->text()).value_or(0) : 0;
}

void SupplierDocumentWindow::discountChanged() {
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

void SupplierDocumentWindow::computeTotals() {
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

void SupplierDocumentWindow::BEliminaClick() {
    m_entry->deleteLine();
}

void SupplierDocumentWindow::BSalvaClick() {
    if (!m_suppliers->require())
        return;
    const auto date = Formats::parseDate(m_date->text());
    if (!date) {
        m_shop.prompter().error(m_form.dateError);
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
        DocumentSaver saver(m_shop.database(), stock, m_shop.routines(), m_kind);
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

void SupplierDocumentWindow::BAnnullaClick() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (m_header->isOpen() && m_header->state() != db::Table::State::Browse)
            m_header->cancel();
    });
    closeTables();
    finish();
}

void SupplierDocumentWindow::closeTables() {
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

void SupplierDocumentWindow::BNuovoFornitoreClick() {
    m_suppliers->addNew(this);
    supplierChanged();
}

void SupplierDocumentWindow::BNuovoClick() {
    TFFornitore supplierCard(m_shop, this);
    TFScheda card(m_shop, this);
    card.NewArticle = true;
    card.setSupplierCard(supplierCardFor(supplierCard));
    card.exec();
    m_entry->takeNewArticle(card.SavedDescription);
}

} // namespace corvale
