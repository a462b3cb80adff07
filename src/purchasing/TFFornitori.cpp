#include "purchasing/TFFornitori.h"

#include "catalogue/ContactColumns.h"
#include "catalogue/TableGrid.h"
#include "db/Error.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "purchasing/ContactDetails.h"
#include "purchasing/TFFornitore.h"
#include "shell/Shop.h"
#include "widgets/CaptionBox.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"
#include "widgets/OpenerWindow.h"
#include "widgets/TitleBand.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

TFFornitori::TFFornitori(Shop &shop, QWidget *parent)
    : QWidget(parent)
    , m_shop(shop)
    , m_table(std::make_unique<db::Table>(shop.database())) {
    setObjectName(QStringLiteral("TFFornitori"));
    setWindowTitle(QStringLiteral("Archivio Fornitori"));
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    formkit::titleBand(QStringLiteral("ARCHIVIO FORNITORI"),
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
    m_search = new QLineEdit(listBox);
    m_search->setObjectName(QStringLiteral("Cerca"));
    m_search->setMaxLength(30);
    listLayout->addWidget(m_search);
    m_table->setTableName(QStringLiteral("FORNITOR.DBF"));
    m_table->setIndexName(contactColumns::name);
    m_grid = new TableGrid(*m_table, listBox);
    m_grid->setObjectName(QStringLiteral("Lista"));
    m_grid->addColumn(contactColumns::name, QStringLiteral("Ragione Sociale"));
    m_grid->horizontalHeader()->setStretchLastSection(true);
    listLayout->addWidget(m_grid);
    body->addWidget(listBox, 3);

    m_details = new ContactDetails(shop.folder().file(QStringLiteral("bkgd.BMP")), this);
    body->addWidget(m_details, 2);
    layout->addLayout(body, 1);

    m_card = new TFFornitore(shop, this);

    connect(bNew, &QPushButton::clicked, this, &TFFornitori::BNuovoClick);
    connect(bEdit, &QPushButton::clicked, this, &TFFornitori::BModificaClick);
    connect(bDelete, &QPushButton::clicked, this, &TFFornitori::BEliminaClick);
    connect(bExit, &QPushButton::clicked, this, &TFFornitori::BUscitaClick);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &TFFornitori::BModificaClick);
    connect(m_grid, &TableGrid::currentRecordChanged, this, &TFFornitori::showDetails);
    connect(m_search, &QLineEdit::textChanged, this, &TFFornitori::searchChanged);
    FocusHighlighter::install(this);
}

TFFornitori::~TFFornitori() = default;

void TFFornitori::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFFornitori::FormActivate() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_table->close();
        m_table->open();
        m_search->blockSignals(true);
        m_search->clear();
        m_search->blockSignals(false);
        searchChanged(QString());
    });
    m_search->setFocus();
}

void TFFornitori::searchChanged(const QString &text) {
    if (!m_table->isOpen())
        return;
    m_table->setRange(text, text + QLatin1Char('z'));
    m_table->first();
    m_grid->reload();
}

void TFFornitori::showDetails() {
    const bool has = m_table->isOpen() && m_table->recordNumber() != 0;
    m_details->show(has ? m_table.get() : nullptr);
}

void TFFornitori::BNuovoClick() {
    m_card->CustomerMode = false;
    m_card->NewRecord = true;
    m_card->exec();
    afterCard();
}

void TFFornitori::BModificaClick() {
    if (!m_table->isOpen() || m_grid->isEmpty())
        return;
    m_card->CustomerMode = false;
    m_card->NewRecord = false;
    m_card->RecordCode = m_table->asInteger(contactColumns::code);
    m_card->exec();
    afterCard();
}

void TFFornitori::afterCard() {
    if (!m_table->isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        // Show the saved supplier, even when its new name falls outside the search.
        if (!m_card->SavedName.isEmpty()) {
            const qint64 code = m_card->RecordCode;
            m_grid->model().reload();
            for (m_table->first(); !m_table->eof(); m_table->next()) {
                if (m_table->asInteger(contactColumns::code) == code)
                    break;
            }
            if (m_table->eof())
                m_table->first();
        } else {
            m_table->refresh();
        }
        m_grid->reload();
    });
}

void TFFornitori::BEliminaClick() {
    if (!m_table->isOpen() || m_grid->isEmpty())
        return;
    Prompter &ask = m_shop.prompter();
    if (!ask.confirm(QStringLiteral("Eliminare il Fornitore selezionato?")))
        return;
    runReportingEngineErrors(ask, [&] {
        const qint64 code = m_table->asInteger(contactColumns::code);
        db::Table articles(m_shop.database());
        articles.setTableName(QStringLiteral("ARTICOLI.DBF"));
        articles.setIndexName(QStringLiteral("N_FOR"));
        articles.open();
        const bool linked = articles.findKey(code);
        articles.close();
        if (linked &&
            !ask.confirm(QStringLiteral(
                "Il fornitore è legato ad articoli presenti in archivio!\rEliminare comunque?")))
            return;
        m_table->remove();
        m_grid->reload();
    });
}

void TFFornitori::BUscitaClick() {
    m_table->close();
    hide();
    if (m_opener)
        m_opener->receiveNotification(1);
}

} // namespace corvale
