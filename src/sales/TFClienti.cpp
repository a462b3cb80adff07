#include "sales/TFClienti.h"

#include "catalogue/CapitalsValidator.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "sales/CustomerColumns.h"
#include "sales/CustomerList.h"
#include "shell/Shop.h"
#include "widgets/CaptionBox.h"
#include "widgets/FormKit.h"
#include "widgets/WaitCursor.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvale {

namespace c = customerColumns;

TFClienti::TFClienti(Shop &shop, QWidget *parent)
    : ContactArchiveFrame(shop, QStringLiteral("TFClienti"), QStringLiteral("Archivio Clienti"),
                          true, parent)
    , m_list(std::make_unique<CustomerList>(shop.database())) {
    CaptionBox *box = &listBox();
    auto *searches = new QHBoxLayout;
    m_nameSearch = new QLineEdit(box);
    m_nameSearch->setObjectName(QStringLiteral("CercaNome"));
    m_nameSearch->setMaxLength(30);
    m_nameSearch->setValidator(new CapitalsValidator(m_nameSearch));
    m_cardSearch = new QLineEdit(box);
    m_cardSearch->setObjectName(QStringLiteral("CercaCarta"));
    m_cardSearch->setMaxLength(30);
    auto *nameLabel = new QLabel(QStringLiteral("Nome"), box);
    nameLabel->setBuddy(m_nameSearch);
    auto *cardLabel = new QLabel(QStringLiteral("N° Carta"), box);
    cardLabel->setBuddy(m_cardSearch);
    searches->addWidget(nameLabel);
    searches->addWidget(m_nameSearch, 2);
    searches->addWidget(cardLabel);
    searches->addWidget(m_cardSearch, 1);
    QPushButton *bSpend = formkit::button(QStringLiteral("Scala punti"), box, searches);
    listLayout().addLayout(searches);

    auto *grid = new TableGrid(m_list->table(), box);
    grid->addColumn(c::name, QStringLiteral("Ragione Sociale"));
    grid->addColumn(c::card, QStringLiteral("BARCODE"));
    grid->addColumn(c::usedPoints, QStringLiteral("DECPUNTI"));
    grid->addColumn(CustomerList::totalColumn, QStringLiteral("csaldo"), QStringLiteral(",0.00"));
    grid->addColumn(CustomerList::pointsColumn, QStringLiteral("cpunti"), QStringLiteral("#"));
    grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    setGrid(grid);

    connect(bSpend, &QPushButton::clicked, this, &TFClienti::BScalaClick);
    connect(m_nameSearch, &QLineEdit::textChanged, this, &TFClienti::searchChanged);
    connect(m_cardSearch, &QLineEdit::textChanged, this, &TFClienti::searchChanged);
}

TFClienti::~TFClienti() = default;

db::Table &TFClienti::listTable() {
    return m_list->table();
}

bool TFClienti::listOpen() const {
    return m_list->isOpen();
}

bool TFClienti::onContact() const {
    return m_list->hasCurrent();
}

void TFClienti::activate() {
    for (QLineEdit *box : {m_nameSearch, m_cardSearch}) {
        box->blockSignals(true);
        box->clear();
        box->blockSignals(false);
    }
    runReportingEngineErrors(shop().prompter(), [&] {
        WaitCursor wait;
        m_list->activate(shop().texts().pointsPerEuro);
    });
    grid().reload();
    showDetails();
    m_nameSearch->setFocus();
}

void TFClienti::closeList() {
    m_list->close();
}

void TFClienti::searchChanged() {
    if (!m_list->isOpen())
        return;
    runReportingEngineErrors(shop().prompter(),
                             [&] { m_list->search(m_nameSearch->text(), m_cardSearch->text()); });
    grid().reload();
    showDetails();
}

void TFClienti::BEliminaClick() {
    if (!hasSelection())
        return;
    Prompter &ask = shop().prompter();
    if (!ask.confirm(QStringLiteral("Eliminare il Cliente selezionato?")))
        return;
    runReportingEngineErrors(ask, [&] { m_list->removeCurrent(); });
    grid().reload();
    showDetails();
}

void TFClienti::BScalaClick() {
    if (!hasSelection())
        return;
    const std::optional<QString> typed = shop().prompter().input(
        QStringLiteral("Scala Punti"), QStringLiteral("Quantità"), QString());
    if (!typed)
        return;
    bool spent = false;
    runReportingEngineErrors(shop().prompter(), [&] { spent = m_list->spendPoints(*typed); });
    if (spent)
        grid().reload();
}

} // namespace corvale
