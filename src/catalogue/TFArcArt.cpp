#include "catalogue/TFArcArt.h"

#include "catalogue/ArticleBrowser.h"
#include "catalogue/ArticleColumns.h"
#include "catalogue/ArticleFilter.h"
#include "catalogue/ArticleListPrintout.h"
#include "catalogue/FilterBar.h"
#include "catalogue/LabelPreparation.h"
#include "catalogue/ListEntries.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/SeasonAssignment.h"
#include "catalogue/SizeGridModel.h"
#include "catalogue/TFFoto.h"
#include "catalogue/TFScheda.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "platform/NotYetAvailable.h"
#include "printing/PrintService.h"
#include "shell/Shop.h"
#include "widgets/CaptionBox.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"
#include "widgets/LookupCombo.h"
#include "widgets/WaitCursor.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace corvale {

using namespace articleColumns;

namespace {

// The article code stands out in bold.
class BoldColumnDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->font.setBold(true);
    }
};

constexpr int kCodeWidth = 95;
constexpr int kDescriptionWidth = 220;
constexpr int kPriceWidth = 75;
constexpr int kSeasonWidth = 115;
constexpr int kYearWidth = 50;
constexpr int kColourWidth = 120;
// Below this width the season and the year give their room to the lists.
constexpr int kNarrowWidth = 900;

QString keyText(const LookupCombo *combo) {
    const QVariant key = combo->currentKey();
    return key.isNull() ? QString() : QString::number(key.toLongLong());
}

} // namespace

TFArcArt::TFArcArt(Shop &shop, QWidget *parent)
    : QWidget(parent)
    , m_shop(shop)
    , m_browser(std::make_unique<ArticleBrowser>(shop)) {
    setObjectName(QStringLiteral("TFArcArt"));
    formkit::panelWindow(this, QStringLiteral("Archivio Articoli"),
                         QStringLiteral("ARCHIVIO ARTICOLI"),
                         shop.folder().file(QStringLiteral("top.BMP")));
    buildToolbar();
    buildFilterBar();
    buildGrids();

    m_card = new TFScheda(shop, this);
    m_photo = new TFFoto(this);
    FocusHighlighter::install(this);
    setMode(Mode::Normal);
}

TFArcArt::~TFArcArt() = default;

void TFArcArt::buildToolbar() {
    QHBoxLayout *toolbar = formkit::toolbar(static_cast<QVBoxLayout *>(layout()));
    auto button = [&](const QString &caption, const QString &hint, void (TFArcArt::*handler)()) {
        QPushButton *b = formkit::button(caption, this, toolbar, hint, 64);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    button(QStringLiteral("Nuovo"), QStringLiteral("Inserimento Nuovo Articolo"),
           &TFArcArt::BNuovoClick);
    button(QStringLiteral("Modifica"), QStringLiteral("Modifica l'Articolo Selezionato"),
           &TFArcArt::BModificaClick);
    button(QStringLiteral("Elimina"), QStringLiteral("Elimina l'Articolo Selezionato"),
           &TFArcArt::BEliminaClick);
    button(QStringLiteral("Inventario"), QStringLiteral("Inventario Magazzino"),
           &TFArcArt::BInventarioClick);
    button(QStringLiteral("Storico"),
           QStringLiteral("Visualizza lo Storico dei movimenti dell'Articolo Selezionato"),
           &TFArcArt::BStoricoClick);
    button(QStringLiteral("Movimenti"), QStringLiteral("Movimenti di Magazzino"),
           &TFArcArt::BMovimentiClick);
    m_chartButton = button(QStringLiteral("Grafico"), QStringLiteral("Grafico delle Vendite"),
                           &TFArcArt::BGraficoClick);
    m_receiptButton = button(QStringLiteral("Carico"), QStringLiteral("Nuovo Carico Articoli"),
                             &TFArcArt::BCaricoClick);
    m_labelsButton = button(QStringLiteral("Etichette"),
                            QStringLiteral("Stampa Eitchette con il codice a barre"),
                            &TFArcArt::BEtichetteClick);
    m_catalogueButton = button(QStringLiteral("Catalogo"), {}, &TFArcArt::BCatalogoClick);
    m_pickButton = button(QStringLiteral("Aggiungi"), {}, &TFArcArt::BAggiungiClick);
    button(QStringLiteral("Stampa"), {}, &TFArcArt::BStampaClick);
    // The size-run reports, filled in by setSizeRunWindows().
    m_sizeRunButtons = new QHBoxLayout;
    m_sizeRunButtons->setSpacing(4);
    toolbar->addLayout(m_sizeRunButtons);
    m_seasonButton = button(QStringLiteral("Stagione"),
                            QStringLiteral("Assegna stagione e anno agli articoli elencati"),
                            &TFArcArt::BStagioneClick);
    toolbar->addStretch();
    button(QStringLiteral("Uscita"), {}, &TFArcArt::BUscitaClick);
}

void TFArcArt::buildFilterBar() {
    m_filterBar = filterbar::create(this, static_cast<QVBoxLayout *>(layout()));
    m_code = filterbar::textBox(m_filterBar, "FCodice", 15);
    m_description = filterbar::textBox(m_filterBar, "FArticolo", 30);
    for (QLineEdit *e : {m_code, m_description})
        connect(e, &QLineEdit::textChanged, this, &TFArcArt::filterChanged);

    auto list = [&](const char *name) {
        LookupCombo *c = filterbar::listBox(m_filterBar, name);
        connect(c, &QComboBox::currentIndexChanged, this, &TFArcArt::filterChanged);
        return c;
    };
    m_brand = list("FMarchio");
    m_typology = list("FTipologia");
    m_material = list("FMateriale");
    m_sizeType = list("FTipoTaglia");
    m_category = list("FCategoria");

    m_discounted = new QCheckBox(QStringLiteral("Scont."), m_filterBar);
    m_discounted->setObjectName(QStringLiteral("Scont."));
    connect(m_discounted, &QCheckBox::toggled, this, [this](bool on) {
        runReportingEngineErrors(m_shop.prompter(), [&] {
            m_browser->setDiscounted(on);
            refreshList();
        });
    });

    m_season = new QComboBox(m_filterBar);
    m_season->setObjectName(QStringLiteral("FStagione"));
    m_season->addItems(filterbar::seasons());
    filterbar::clearOnBackspace(m_season);
    connect(m_season, &QComboBox::currentIndexChanged, this, &TFArcArt::filterChanged);

    m_year = new QComboBox(m_filterBar);
    m_year->setObjectName(QStringLiteral("FAnno"));
    const int current = m_shop.clock().today().year();
    for (int y = current - 3; y <= current + 2; ++y)
        m_year->addItem(QString::number(y));
    m_year->setCurrentIndex(-1);
    filterbar::clearOnBackspace(m_year);
    connect(m_year, &QComboBox::currentIndexChanged, this, &TFArcArt::filterChanged);
}

void TFArcArt::buildGrids() {
    auto *layout = static_cast<QVBoxLayout *>(this->layout());
    m_grid = new TableGrid(m_browser->articles(), this);
    m_grid->setObjectName(QStringLiteral("Articoli"));
    m_grid->addColumn(code, QStringLiteral("Codice"), {}, kCodeWidth);
    m_grid->addColumn(description, QStringLiteral("Articolo"), {}, kDescriptionWidth);
    m_grid->addColumn(brand, QStringLiteral("Marchio"));
    m_grid->addColumn(typology, QStringLiteral("Tipologia"));
    m_grid->addColumn(material, QStringLiteral("Materiale"));
    m_grid->addColumn(sizeTypeName, QStringLiteral("Tipo Taglia"));
    m_grid->addColumn(shownPrice, QStringLiteral("Prezzo"), QStringLiteral(",0.00"), kPriceWidth);
    m_grid->addColumn(category, QStringLiteral("Categoria"));
    m_grid->addColumn(season, QStringLiteral("Stagione"), {}, kSeasonWidth);
    m_grid->addColumn(year, QStringLiteral("Anno"), {}, kYearWidth);
    m_grid->addColumn(sole, QStringLiteral("Fondo"));
    m_grid->addColumn(heel, QStringLiteral("T."));
    m_grid->addColumn(wedge, QStringLiteral("Z."));
    // Sole, heel and wedge are kept in the card but not browsed.
    for (int c : {Sole, Heel, Wedge})
        m_grid->setColumnHidden(c, true);
    m_grid->setItemDelegateForColumn(Code, new BoldColumnDelegate(m_grid));
    layout->addWidget(m_grid, 3);
    connect(m_grid, &TableGrid::currentRecordChanged, this, &TFArcArt::articleChanged);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &TFArcArt::BModificaClick);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { layoutColumns(); });

    auto *stockBox = new CaptionBox(QStringLiteral("Disponibilità di Taglie e Colori"), this);
    stockBox->setBackground(m_shop.folder().file(QStringLiteral("bkgd.BMP")));
    auto *stockLayout = new QVBoxLayout(stockBox);
    m_stockRows = new TableModel(m_browser->stock(), this);
    m_stockRows->addColumn(colour, QStringLiteral("COLORE"), {}, kColourWidth);
    for (int n = 1; n <= sizeCount; ++n)
        m_stockRows->addColumn(sizeCell(n), sizeCell(n));
    m_stockTitles = new SizeGridModel(this);
    m_stockTitles->setSourceModel(m_stockRows);
    m_stockTitles->setSizeTitles(m_browser->sizeTitles().titles());
    m_stockGrid = new QTableView(stockBox);
    m_stockGrid->setObjectName(QStringLiteral("Taglie"));
    m_stockGrid->setModel(m_stockTitles);
    m_stockGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_stockGrid->verticalHeader()->hide();
    m_stockGrid->setColumnWidth(0, kColourWidth);
    stockLayout->addWidget(m_stockGrid);
    layout->addWidget(stockBox, 1);
}

void TFArcArt::setMode(Mode mode, OpenerWindow *caller) {
    m_mode = mode;
    if (mode == Mode::Picking)
        m_caller = caller;
    const bool normal = mode == Mode::Normal;
    for (QPushButton *b :
         {m_chartButton, m_receiptButton, m_labelsButton, m_catalogueButton, m_seasonButton})
        b->setVisible(normal);
    m_pickButton->setVisible(!normal);
}

void TFArcArt::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFArcArt::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    layoutColumns();
}

void TFArcArt::FormActivate() {
    layoutColumns();
    m_quiet = true;
    m_season->setCurrentIndex(0);
    m_quiet = false;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_browser->open();
        openLists();
    });
    filterChanged();
    m_browser->sizeTitles().forget();
    articleChanged();
    m_code->setFocus();
    if (m_shop.preferences().showPhotos)
        showPhotoWindow();
}

void TFArcArt::openLists() {
    m_quiet = true;
    auto fill = [&](LookupCombo *combo, const char *table, const QString &order,
                    const QString &shown) {
        db::Table source(m_shop.database());
        source.setTableName(QString::fromLatin1(table));
        source.setIndexName(order);
        source.open();
        const bool wasEmpty = combo->count() == 0;
        combo->fill(source, shown, key);
        if (wasEmpty)
            combo->setCurrentIndex(-1);
    };
    const QString name = QStringLiteral("NOME");
    fill(m_brand, "MARCHI", name, name);
    fill(m_typology, "TIPOLOGI", name, name);
    fill(m_material, "MATERIAL", name, name);
    fill(m_category, "CATEGOR", name, name);
    fill(m_sizeType, "TAGLIE", description, description);
    // The season list; the blank first item lists every season.
    const QString season = m_season->currentText();
    m_season->clear();
    m_season->addItem(QStringLiteral(" "));
    m_season->addItems(ListEntries::seasonNames(m_shop.database()));
    m_season->setCurrentIndex(std::max(0, m_season->findText(season)));
    m_quiet = false;
}

void TFArcArt::BStagioneClick() {
    if (listEmpty())
        return;
    Prompter &prompter = m_shop.prompter();
    const std::optional<QString> typed = prompter.input(
        QStringLiteral("Stagione"), QStringLiteral("Stagione da assegnare agli articoli elencati"));
    if (!typed)
        return;
    QString season;
    if (!runReportingEngineErrors(
            prompter, [&] { season = SeasonAssignment::listedName(m_shop.database(), *typed); }))
        return;
    if (season.isEmpty()) {
        prompter.error(QStringLiteral("La stagione \"%1\" non è nell'elenco delle stagioni "
                                      "(ARCHIVIO, Varie).")
                           .arg(typed->trimmed()));
        return;
    }
    const std::optional<QString> yearText =
        prompter.input(QStringLiteral("Anno"), QStringLiteral("Anno della collezione"),
                       QString::number(m_shop.clock().today().year()));
    if (!yearText)
        return;
    const std::optional<qint64> year = Formats::parseInteger(*yearText);
    if (!year || *year < 1900 || *year > 2999) {
        prompter.error(QStringLiteral("L'anno deve essere un numero di quattro cifre."));
        return;
    }
    if (!prompter.confirm(QStringLiteral("Assegnare la stagione %1 %2 a tutti gli articoli "
                                         "elencati?")
                              .arg(season)
                              .arg(*year)))
        return;
    runReportingEngineErrors(prompter, [&] {
        SeasonAssignment::assign(m_shop.database(), m_browser->filter(), season, int(*year));
    });
    refreshList();
}

void TFArcArt::layoutColumns() {
    const bool narrow = width() < kNarrowWidth;
    m_grid->setColumnHidden(Season, narrow);
    m_grid->setColumnHidden(Year, narrow);
    m_season->setVisible(!narrow);
    m_year->setVisible(!narrow);

    int fixed = kCodeWidth + kDescriptionWidth + kPriceWidth;
    if (!narrow)
        fixed += kSeasonWidth + kYearWidth;
    const int shared = std::max((m_grid->viewport()->width() - fixed - 29) / 5, 40);
    QHeaderView *header = m_grid->horizontalHeader();
    {
        const QSignalBlocker block(header);
        m_grid->setColumnWidth(Code, kCodeWidth);
        m_grid->setColumnWidth(Description, kDescriptionWidth);
        m_grid->setColumnWidth(Price, kPriceWidth);
        m_grid->setColumnWidth(Season, kSeasonWidth);
        m_grid->setColumnWidth(Year, kYearWidth);
        for (int c : {Brand, Typology, Material, SizeType, Category})
            m_grid->setColumnWidth(c, shared);
    }
    const int left = m_grid->x() + m_grid->frameWidth();
    const std::pair<int, QWidget *> boxes[] = {{Code, m_code},         {Description, m_description},
                                               {Brand, m_brand},       {Typology, m_typology},
                                               {Material, m_material}, {SizeType, m_sizeType},
                                               {Price, m_discounted},  {Category, m_category},
                                               {Season, m_season},     {Year, m_year}};
    for (const auto &[column, box] : boxes) {
        if (m_grid->isColumnHidden(column))
            continue;
        box->setGeometry(left + header->sectionViewportPosition(column), 1,
                         header->sectionSize(column), m_filterBar->height() - 2);
    }

    const int sizeWidth = std::max((m_stockGrid->viewport()->width() - kColourWidth - 38) / 20, 20);
    m_stockGrid->setColumnWidth(0, kColourWidth);
    for (int n = 1; n <= sizeCount; ++n)
        m_stockGrid->setColumnWidth(n, sizeWidth);
}

void TFArcArt::filterChanged() {
    if (m_quiet)
        return;
    ArticleFilterBoxes boxes;
    boxes.code = m_code->text();
    boxes.description = m_description->text();
    boxes.brand = keyText(m_brand);
    boxes.typology = keyText(m_typology);
    boxes.material = keyText(m_material);
    boxes.category = keyText(m_category);
    boxes.season = m_season->currentText();
    boxes.sizeType = keyText(m_sizeType);
    boxes.year = m_year->currentText();
    const QString text = ArticleFilter::text(boxes);
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_browser->setFilter(text);
        m_grid->reload();
    });
}

void TFArcArt::refreshList() {
    if (!m_browser->isOpen())
        return;
    m_browser->articles().refresh();
    m_grid->reload();
}

void TFArcArt::articleChanged() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_browser->followArticle();
        // With the tables closed the grid is emptied, never left reading them.
        m_stockRows->reload();
        m_stockTitles->setSizeTitles(m_browser->sizeTitles().titles());
        if (m_photo->isVisible())
            m_photo->showPhoto(listEmpty() ? QByteArray() : m_browser->articles().asBlob(photo));
    });
}

bool TFArcArt::listEmpty() {
    return m_grid->isEmpty() || m_browser->isEmpty();
}

TFArcArt::ArticleRef TFArcArt::selected() {
    const db::Table &t = m_browser->articles();
    return {t.asInteger(key), t.asString(code), t.asString(description)};
}

void TFArcArt::receiveNotification(int code) {
    if (code != 0 && code != 1)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] { refreshList(); });
    if (m_shop.preferences().showPhotos)
        showPhotoWindow();
}

void TFArcArt::showPhotoWindow() {
    const QPoint at =
        mapToGlobal(QPoint(width() - m_photo->width() - 50, height() - m_photo->height() - 200));
    m_photo->move(at);
    m_photo->show();
    articleChanged();
}

void TFArcArt::closePhotoWindow() {
    m_photo->hide();
}

void TFArcArt::showCard(bool newArticle) {
    m_card->NewArticle = newArticle;
    m_card->ArticleKey = newArticle ? 0 : m_browser->currentKey();
    m_card->exec();
    if (!m_browser->isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        db::Table &list = m_browser->articles();
        if (newArticle && m_card->ArticleKey > 0) {
            // The new article becomes the selected one when the filter lists it.
            const qint64 saved = m_card->ArticleKey;
            for (list.first(); !list.eof(); list.next()) {
                if (list.asInteger(key) == saved)
                    break;
            }
            if (list.eof())
                list.first();
        } else {
            list.refresh();
        }
        m_browser->sizeTitles().forget();
        m_grid->reload();
        articleChanged();
    });
}

void TFArcArt::setSizeRunWindows(const QList<QPair<QString, DialogWindow>> &windows) {
    for (const auto &[caption, window] : windows) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(caption);
        b->setMinimumWidth(64);
        m_sizeRunButtons->addWidget(b);
        connect(b, &QPushButton::clicked, this, window);
    }
}

void TFArcArt::BNuovoClick() {
    showCard(true);
}

void TFArcArt::BModificaClick() {
    if (listEmpty())
        return;
    showCard(false);
}

void TFArcArt::BEliminaClick() {
    if (listEmpty())
        return;
    if (!m_shop.prompter().confirm(QStringLiteral("Eliminare l'articolo selezionato?")))
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_browser->removeCurrent();
        m_grid->reload();
    });
}

void TFArcArt::BInventarioClick() {
    if (m_inventory)
        m_inventory(this);
    else
        reportNotYetAvailable(m_shop.prompter());
}

void TFArcArt::BStoricoClick() {
    if (listEmpty())
        return;
    if (m_history)
        m_history(selected());
    else
        reportNotYetAvailable(m_shop.prompter());
}

void TFArcArt::BMovimentiClick() {
    if (m_movements)
        m_movements(this);
    else
        reportNotYetAvailable(m_shop.prompter());
}

void TFArcArt::BGraficoClick() {
    if (m_chart)
        m_chart();
    else
        reportNotYetAvailable(m_shop.prompter());
}

void TFArcArt::BCaricoClick() {
    closePhotoWindow();
    if (m_receipt)
        m_receipt(this);
    else
        reportNotYetAvailable(m_shop.prompter());
}

void TFArcArt::BEtichetteClick() {
    if (listEmpty())
        return;
    const Prompter::Answer answer = m_shop.prompter().confirmWithCancel(
        QStringLiteral("Stampare solo le etichette relative agli articoli in giacenza?"));
    if (answer == Prompter::Answer::Cancel)
        return;
    LabelPreparation::Result result;
    bool prepared = false;
    {
        WaitCursor wait;
        prepared = runReportingEngineErrors(m_shop.prompter(), [&] {
            result = LabelPreparation(m_shop.database())
                         .prepare(m_browser->filter(), answer == Prompter::Answer::Yes);
        });
    }
    if (!prepared)
        return;
    if (result.skipped > 0)
        m_shop.prompter().warning(
            QStringLiteral("%1 etichette non preparate: il codice a barre non sarebbe un EAN-13 "
                           "valido (codice articolo non di sei cifre o numero del colore oltre "
                           "899).")
                .arg(result.skipped));
    if (m_labels)
        m_labels();
    else
        reportNotYetAvailable(m_shop.prompter());
}

void TFArcArt::BCatalogoClick() {
    const std::optional<QString> answer =
        m_shop.prompter().input(QStringLiteral("CORVALE QUIRA"),
                                QStringLiteral("N° foto per pagina (4-8)"), QStringLiteral("4"));
    if (!answer)
        return;
    const std::optional<int> perPage = PhotoCatalogue::photosPerPage(*answer);
    if (!perPage)
        return;
    auto catalogue = std::make_shared<PhotoCatalogue>(m_shop);
    bool loaded = false;
    {
        WaitCursor wait;
        loaded = runReportingEngineErrors(m_shop.prompter(),
                                          [&] { catalogue->load(m_browser->filter()); });
    }
    if (!loaded)
        return;
    PrintService &service = m_shop.printService();
    const int n = *perPage;
    if (!service.print(QStringLiteral("Catalogo"),
                       [catalogue, n](PageCanvas &canvas) { catalogue->print(canvas, n); }) &&
        !service.errorText().isEmpty())
        m_shop.prompter().error(service.errorText());
}

void TFArcArt::BAggiungiClick() {
    if (m_mode != Mode::Picking || listEmpty())
        return;
    const ArticleRef article = selected();
    PickedDescription = article.description;
    Q_EMIT articlePicked(article.key, article.description);
    if (m_caller)
        m_caller->receiveNotification(1);
    BUscitaClick();
}

void TFArcArt::BStampaClick() {
    if (listEmpty())
        return;
    const Prompter::Answer answer = m_shop.prompter().confirmWithCancel(
        QStringLiteral("Stampa con dettaglio delle taglie e colori?"));
    if (answer == Prompter::Answer::Cancel)
        return;
    auto printout = std::make_shared<ArticleListPrintout>(m_shop);
    bool loaded = false;
    {
        WaitCursor wait;
        loaded = runReportingEngineErrors(m_shop.prompter(), [&] {
            printout->load(m_browser->filter(), m_browser->discounted(),
                           answer == Prompter::Answer::Yes);
        });
    }
    if (!loaded)
        return;
    PrintService &service = m_shop.printService();
    if (!service.print(QStringLiteral("Elenco Articoli"),
                       [printout](PageCanvas &canvas) { printout->print(canvas); }) &&
        !service.errorText().isEmpty())
        m_shop.prompter().error(service.errorText());
}

void TFArcArt::BUscitaClick() {
    closePhotoWindow();
    m_browser->close();
    m_grid->reload();
    hide();
}

} // namespace corvale
