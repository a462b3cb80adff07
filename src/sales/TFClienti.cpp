#include "sales/TFClienti.h"

#include "catalogue/CapitalsValidator.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "purchasing/ContactDetails.h"
#include "purchasing/TFFornitore.h"
#include "sales/CustomerColumns.h"
#include "sales/CustomerList.h"
#include "shell/Shop.h"
#include "widgets/CaptionBox.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"
#include "widgets/OpenerWindow.h"
#include "widgets/TitleBand.h"
#include "widgets/WaitCursor.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

namespace c = customerColumns;

TFClienti::TFClienti(Shop &shop, QWidget *parent)
    : QWidget(parent)
    , m_shop(shop)
    , m_list(std::make_unique<CustomerList>(shop.database())) {
    setObjectName(QStringLiteral("TFClienti"));
    setWindowTitle(QStringLiteral("Archivio Clienti"));
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    formkit::titleBand(QStringLiteral("ARCHIVIO CLIENTI"),
                       shop.folder().file(QStringLiteral("top.BMP")), this, layout);

    auto *toolbar = new QHBoxLayout;
    toolbar->setContentsMargins(8, 4, 8, 4);
    QPushButton *bNew = formkit::button(QStringLiteral("Nuovo"), this, toolbar);
    QPushButton *bEdit = formkit::button(QStringLiteral("Modifica"), this, toolbar);
    QPushButton *bDelete = formkit::button(QStringLiteral("Elimina"), this, toolbar);
    toolbar->addStretch();
    QPushButton *bExit = formkit::button(QStringLiteral("Uscita"), this, toolbar);
    layout->addLayout(toolbar);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(8, 0, 8, 8);
    auto *listBox = new CaptionBox(QStringLiteral("Ricerca"), this);
    listBox->setBackground(shop.folder().file(QStringLiteral("bkgd.BMP")));
    auto *listLayout = new QVBoxLayout(listBox);
    auto *searches = new QHBoxLayout;
    m_nameSearch = new QLineEdit(listBox);
    m_nameSearch->setObjectName(QStringLiteral("CercaNome"));
    m_nameSearch->setMaxLength(30);
    m_nameSearch->setValidator(new CapitalsValidator(m_nameSearch));
    m_cardSearch = new QLineEdit(listBox);
    m_cardSearch->setObjectName(QStringLiteral("CercaCarta"));
    m_cardSearch->setMaxLength(30);
    auto *nameLabel = new QLabel(QStringLiteral("Nome"), listBox);
    nameLabel->setBuddy(m_nameSearch);
    auto *cardLabel = new QLabel(QStringLiteral("N° Carta"), listBox);
    cardLabel->setBuddy(m_cardSearch);
    searches->addWidget(nameLabel);
    searches->addWidget(m_nameSearch, 2);
    searches->addWidget(cardLabel);
    searches->addWidget(m_cardSearch, 1);
    QPushButton *bSpend = formkit::button(QStringLiteral("Scala punti"), listBox, searches);
    listLayout->addLayout(searches);

    m_grid = new TableGrid(m_list->table(), listBox);
    m_grid->setObjectName(QStringLiteral("Lista"));
    m_grid->addColumn(c::name, QStringLiteral("Ragione Sociale"));
    m_grid->addColumn(c::card, QStringLiteral("BARCODE"));
    m_grid->addColumn(c::usedPoints, QStringLiteral("DECPUNTI"));
    m_grid->addColumn(CustomerList::totalColumn, QStringLiteral("csaldo"), QStringLiteral(",0.00"));
    m_grid->addColumn(CustomerList::pointsColumn, QStringLiteral("cpunti"), QStringLiteral("#"));
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    listLayout->addWidget(m_grid);
    body->addWidget(listBox, 3);

    m_details = new ContactDetails(shop.folder().file(QStringLiteral("bkgd.BMP")), this);
    body->addWidget(m_details, 2);
    layout->addLayout(body, 1);

    m_card = new TFFornitore(shop, this);

    connect(bNew, &QPushButton::clicked, this, &TFClienti::BNuovoClick);
    connect(bEdit, &QPushButton::clicked, this, &TFClienti::BModificaClick);
    connect(bDelete, &QPushButton::clicked, this, &TFClienti::BEliminaClick);
    connect(bSpend, &QPushButton::clicked, this, &TFClienti::BScalaClick);
    connect(bExit, &QPushButton::clicked, this, &TFClienti::BUscitaClick);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &TFClienti::BModificaClick);
    connect(m_grid, &TableGrid::currentRecordChanged, this, &TFClienti::showDetails);
    connect(m_nameSearch, &QLineEdit::textChanged, this, &TFClienti::searchChanged);
    connect(m_cardSearch, &QLineEdit::textChanged, this, &TFClienti::searchChanged);
    FocusHighlighter::install(this);
}

TFClienti::~TFClienti() = default;

void TFClienti::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFClienti::FormActivate() {
    for (QLineEdit *box : {m_nameSearch, m_cardSearch}) {
        box->blockSignals(true);
        box->clear();
        box->blockSignals(false);
    }
    runReportingEngineErrors(m_shop.prompter(), [&] {
        WaitCursor wait;
        m_list->activate(m_shop.texts().pointsPerEuro);
    });
    m_grid->reload();
    showDetails();
    m_nameSearch->setFocus();
}

void TFClienti::searchChanged() {
    if (!m_list->isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(),
                             [&] { m_list->search(m_nameSearch->text(), m_cardSearch->text()); });
    m_grid->reload();
    showDetails();
}

void TFClienti::showDetails() {
    m_details->show(m_list->hasCurrent() ? &m_list->table() : nullptr);
}

void TFClienti::BNuovoClick() {
    m_card->CustomerMode = true;
    m_card->NewRecord = true;
    m_card->exec();
    afterCard();
}

void TFClienti::BModificaClick() {
    if (!m_list->hasCurrent() || m_grid->isEmpty())
        return;
    m_card->CustomerMode = true;
    m_card->NewRecord = false;
    m_card->RecordCode = m_list->table().asInteger(c::code);
    m_card->exec();
    afterCard();
}

void TFClienti::afterCard() {
    if (!m_list->isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        db::Table &t = m_list->table();
        // Show the saved customer when the search still lets them through.
        if (!m_card->SavedName.isEmpty()) {
            const qint64 code = m_card->RecordCode;
            m_grid->model().reload();
            for (t.first(); !t.eof(); t.next()) {
                if (t.asInteger(c::code) == code)
                    break;
            }
            if (t.eof())
                t.first();
        } else {
            t.refresh();
        }
    });
    m_grid->reload();
    showDetails();
}

void TFClienti::BEliminaClick() {
    if (!m_list->hasCurrent() || m_grid->isEmpty())
        return;
    Prompter &ask = m_shop.prompter();
    if (!ask.confirm(QStringLiteral("Eliminare il Cliente selezionato?")))
        return;
    runReportingEngineErrors(ask, [&] { m_list->removeCurrent(); });
    m_grid->reload();
    showDetails();
}

void TFClienti::BScalaClick() {
    if (!m_list->hasCurrent() || m_grid->isEmpty())
        return;
    const std::optional<QString> typed = m_shop.prompter().input(
        QStringLiteral("Scala Punti"), QStringLiteral("Quantità"), QString());
    if (!typed)
        return;
    bool spent = false;
    runReportingEngineErrors(m_shop.prompter(), [&] { spent = m_list->spendPoints(*typed); });
    if (spent)
        m_grid->reload();
}

void TFClienti::BUscitaClick() {
    m_list->close();
    hide();
    if (m_opener)
        m_opener->receiveNotification(1);
}

} // namespace corvale
