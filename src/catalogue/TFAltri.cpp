#include "catalogue/TFAltri.h"

#include "catalogue/PriceVariation.h"
#include "catalogue/TableGrid.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"
#include "widgets/CaptionBox.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/LookupCombo.h"
#include "widgets/TitleBand.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

TFAltri::TFAltri(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_brands(std::make_unique<db::Table>(shop.database()))
    , m_suppliers(std::make_unique<db::Table>(shop.database())) {
    setObjectName(QStringLiteral("TFAltri"));
    setWindowTitle(QStringLiteral("Archivi Vari"));
    setModal(true);

    defineLists();

    const QString background = shop.folder().file(QStringLiteral("bkgd.BMP"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    auto *band = new TitleBand(QStringLiteral("VARIE"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *grids = new QGridLayout;
    grids->setContentsMargins(6, 0, 6, 0);
    for (int i = 0; i < m_lists.size(); ++i)
        grids->addWidget(listBox(i, background), i / 4, i % 4);

    QWidget *variations = variationsBox(background);
    // The lists in rows of four; the bulk change below them, as wide as the window.
    const int listRows = int((m_lists.size() + 3) / 4);
    grids->addWidget(variations, listRows, 0, 1, 4);
    for (int row = 0; row < listRows; ++row)
        grids->setRowStretch(row, 1);
    layout->addLayout(grids, 1);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    auto *exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("Uscita"));
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(exit);
    bottom->addSpacing(6);
    layout->addLayout(bottom);

    FocusHighlighter::install(this);
    resize(900, 700);
}

void TFAltri::defineLists() {
    const QString inserisci = QStringLiteral("Inserisci la voce");
    auto list = [&](const QString &title, ListEntries::List entries, const QString &tag,
                    const QString &caption, const QString &prompt, const QString &question) {
        auto *l =
            new NameList{title, std::move(entries), tag, caption, prompt, question, {}, nullptr};
        m_lists << l;
    };
    list(QStringLiteral("Categoria"), ListEntries::categories(), QStringLiteral("NOME"),
         QStringLiteral("Nuova Categoria"), inserisci,
         QStringLiteral("Eliminare la Categoria selezionata?"));
    list(QStringLiteral("Colore"), ListEntries::colours(), QStringLiteral("COLORE"),
         QStringLiteral("Nuovo Colore"), inserisci,
         QStringLiteral("Eliminare il Colore selezionato?"));
    list(QStringLiteral("Marchio"), ListEntries::brands(), QStringLiteral("NOME"),
         QStringLiteral("Nuovo Marchio"), inserisci,
         QStringLiteral("Eliminare il Marchio selezionato?"));
    list(QStringLiteral("Tipologia"), ListEntries::typologies(), QStringLiteral("NOME"),
         QStringLiteral("Nuova Tipologia"), inserisci,
         QStringLiteral("Eliminare la Tipologia selezionata?"));
    list(QStringLiteral("Materiale"), ListEntries::materials(), QStringLiteral("NOME"),
         QStringLiteral("Nuovo Materiale"), inserisci,
         QStringLiteral("Eliminare il Materiale selezionato?"));
    list(QStringLiteral("Fondo"), ListEntries::soles(), QStringLiteral("NOME"),
         QStringLiteral("Nuovo fondo"), inserisci,
         QStringLiteral("Eliminare il Fondo selezionato?"));
    // Shown, so that the heel and wedge measures the article card offers can be kept here.
    list(QStringLiteral("Tacco/Zeppa"), ListEntries::measures(), QString(),
         QStringLiteral("Nuova Misura"), QStringLiteral("Inserisci"),
         QStringLiteral("Eliminare la Misura selezionata?"));
    // The seasons the article card, the archive and the campaigns offer.
    list(QStringLiteral("Stagione"), ListEntries::seasons(), QStringLiteral("NOME"),
         QStringLiteral("Nuova Stagione"), inserisci,
         QStringLiteral("Eliminare la Stagione selezionata?"));
}

CaptionBox *TFAltri::listBox(int i, const QString &background) {
    NameList &l = *m_lists[i];
    l.table = std::make_unique<db::Table>(m_shop.database());
    l.table->setTableName(l.entries.table + QStringLiteral(".DBF"));
    if (!l.tag.isEmpty())
        l.table->setIndexName(l.tag);
    auto *box = new CaptionBox(QString(), this);
    box->setObjectName(QStringLiteral("Lista") + QString::number(i));
    box->setBackground(background);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(4, 4, 4, 4);
    l.grid = new TableGrid(*l.table, box);
    l.grid->setObjectName(QStringLiteral("Griglia") + l.title);
    l.grid->addColumn(l.entries.nameField, l.title);
    l.grid->horizontalHeader()->setStretchLastSection(true);
    v->addWidget(l.grid);
    auto *buttons = new QHBoxLayout;
    auto *bNew = new QPushButton(QStringLiteral("&Nuovo"), box);
    bNew->setObjectName(QStringLiteral("Nuovo") + l.title);
    auto *bDelete = new QPushButton(QStringLiteral("&Elimina"), box);
    bDelete->setObjectName(QStringLiteral("Elimina") + l.title);
    for (QPushButton *b : {bNew, bDelete}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    v->addLayout(buttons);
    const auto index = ListIndex(i);
    connect(bNew, &QPushButton::clicked, this, [this, index] { newEntry(index); });
    connect(bDelete, &QPushButton::clicked, this, [this, index] { deleteEntry(index); });
    return box;
}

QWidget *TFAltri::variationsBox(const QString &background) {
    auto *variations = new CaptionBox(QStringLiteral("Variazioni"), this);
    variations->setBackground(background);
    auto *vg = new QGridLayout(variations);
    m_percent = new QLineEdit(variations);
    m_percent->setObjectName(QStringLiteral("Percentuale"));
    m_percent->setAlignment(Qt::AlignRight);
    vg->addWidget(new QLabel(QStringLiteral("del (%)"), variations), 0, 0);
    vg->addWidget(m_percent, 0, 1);
    m_target = new QButtonGroup(this);
    const QList<std::pair<QString, PriceVariation::Target>> targets = {
        {QStringLiteral("Prezzo di Acquisto"), PriceVariation::Target::PurchasePrice},
        {QStringLiteral("Prezzo di Vendita"), PriceVariation::Target::SalePrice},
        {QStringLiteral("Sconto Vendita"), PriceVariation::Target::Discount}};
    for (int i = 0; i < targets.size(); ++i) {
        auto *r = new QRadioButton(targets[i].first, variations);
        r->setObjectName(targets[i].first);
        m_target->addButton(r, int(targets[i].second));
        vg->addWidget(r, 1 + i, 0, 1, 2);
    }
    m_target->button(int(PriceVariation::Target::PurchasePrice))->setChecked(true);
    m_brands->setTableName(QStringLiteral("MARCHI.DBF"));
    m_brands->setIndexName(QStringLiteral("NOME"));
    m_suppliers->setTableName(QStringLiteral("FORNITOR.DBF"));
    m_suppliers->setIndexName(QStringLiteral("NOME"));
    m_brand = new LookupCombo(variations);
    m_brand->setObjectName(QStringLiteral("VarMarchio"));
    m_supplier = new LookupCombo(variations);
    m_supplier->setObjectName(QStringLiteral("VarFornitore"));
    m_allBrands = new QCheckBox(QStringLiteral("Tutte"), variations);
    m_allBrands->setObjectName(QStringLiteral("Tutte"));
    m_allSuppliers = new QCheckBox(QStringLiteral("Tutti"), variations);
    m_allSuppliers->setObjectName(QStringLiteral("Tutti"));
    vg->addWidget(new QLabel(QStringLiteral("Marchio"), variations), 0, 2);
    vg->addWidget(m_brand, 1, 2);
    vg->addWidget(m_allBrands, 1, 3);
    vg->addWidget(new QLabel(QStringLiteral("Fornitore"), variations), 2, 2);
    vg->addWidget(m_supplier, 3, 2);
    vg->addWidget(m_allSuppliers, 3, 3);
    m_run = new QPushButton(QStringLiteral("Esegui"), variations);
    m_run->setObjectName(QStringLiteral("Esegui"));
    m_run->setAutoDefault(false);
    vg->addWidget(m_run, 4, 2, 1, 2);
    vg->setColumnStretch(2, 1);
    for (QCheckBox *all : {m_allBrands, m_allSuppliers})
        all->setChecked(true);
    m_brand->setEnabled(false);
    m_supplier->setEnabled(false);
    connect(m_allBrands, &QCheckBox::toggled, m_brand, &QWidget::setDisabled);
    connect(m_allSuppliers, &QCheckBox::toggled, m_supplier, &QWidget::setDisabled);
    connect(m_run, &QPushButton::clicked, this, &TFAltri::BEseguiClick);
    return variations;
}

TFAltri::~TFAltri() {
    closeTables();
    qDeleteAll(m_lists);
}

TableGrid &TFAltri::grid(ListIndex list) {
    return *m_lists[list]->grid;
}

void TFAltri::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFAltri::FormActivate() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        closeTables();
        for (NameList *l : std::as_const(m_lists)) {
            l->table->open();
            l->table->first();
            l->grid->reload();
        }
        m_brands->open();
        m_suppliers->open();
        m_brand->fill(*m_brands, QStringLiteral("NOME"), QStringLiteral("NUMREG"));
        m_supplier->fill(*m_suppliers, QStringLiteral("NOME"), QStringLiteral("CODICE"));
    });
}

void TFAltri::closeTables() {
    for (NameList *l : std::as_const(m_lists))
        l->table->close();
    m_brands->close();
    m_suppliers->close();
}

void TFAltri::newEntry(ListIndex index) {
    NameList &l = *m_lists[index];
    if (!l.table->isOpen())
        return;
    const std::optional<QString> answer = m_shop.prompter().input(l.newCaption, l.newPrompt);
    if (!answer)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        ListEntries::add(m_shop, l.entries, *answer);
        // Show the new entry selected.
        const QString name = answer->toUpper().left(40);
        l.grid->reloadSelecting(
            [&](db::Table &t) { return t.asString(l.entries.nameField) == name.trimmed(); });
        if (index == Brands)
            m_brand->fill(*m_brands, QStringLiteral("NOME"), QStringLiteral("NUMREG"));
    });
}

void TFAltri::deleteEntry(ListIndex index) {
    NameList &l = *m_lists[index];
    if (!l.table->isOpen() || l.grid->isEmpty())
        return;
    if (!m_shop.prompter().confirm(l.deleteQuestion))
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (index == Colours &&
            ListEntries::colourInStock(m_shop.database(), l.table->asString(l.entries.nameField))) {
            m_shop.prompter().error(QStringLiteral(
                "Ci sono articoli in giacenza con questo colore!\rIn questo caso non è "
                "possibile eliminarlo"));
            return;
        }
        l.table->remove();
        l.grid->reload();
        if (index == Brands)
            m_brand->fill(*m_brands, QStringLiteral("NOME"), QStringLiteral("NUMREG"));
    });
}

void TFAltri::BEseguiClick() {
    PriceVariation::Request request;
    request.target = PriceVariation::Target(m_target->checkedId());
    request.percentText = m_percent->text();
    if (!m_allBrands->isChecked() && m_brand->currentIndex() >= 0)
        request.brand = m_brand->currentKey().toLongLong();
    if (!m_allSuppliers->isChecked() && m_supplier->currentIndex() >= 0)
        request.supplier = m_supplier->currentKey().toLongLong();
    request.markupWithoutVat = m_shop.preferences().markupWithoutVat;

    m_run->setEnabled(false);
    const bool ok = runReportingEngineErrors(m_shop.prompter(), [&] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // The cursor comes back before any message, or the box would show the hourglass.
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        PriceVariation(m_shop.database()).run(request, m_shop.clock().today());
    });
    m_run->setEnabled(true);
    if (ok)
        m_shop.prompter().information(QStringLiteral("Variazione eseguita con successo!"));
}

void TFAltri::done(int result) {
    closeTables();
    QDialog::done(result);
}

} // namespace corvale
