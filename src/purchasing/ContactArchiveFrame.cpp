#include "purchasing/ContactArchiveFrame.h"

#include "catalogue/ContactColumns.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "purchasing/ContactDetails.h"
#include "purchasing/TFFornitore.h"
#include "shell/Shop.h"
#include "widgets/CaptionBox.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"
#include "widgets/OpenerWindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

ContactArchiveFrame::ContactArchiveFrame(Shop &shop, const QString &name, const QString &title,
                                         bool customers, QWidget *parent)
    : QWidget(parent)
    , m_shop(shop)
    , m_customers(customers) {
    setObjectName(name);
    setWindowTitle(title);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    formkit::titleBand(title.toUpper(), shop.folder().file(QStringLiteral("top.BMP")), this,
                       layout);

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
    m_listBox = new CaptionBox(QStringLiteral("Ricerca"), this);
    m_listBox->setBackground(shop.folder().file(QStringLiteral("bkgd.BMP")));
    m_listLayout = new QVBoxLayout(m_listBox);
    body->addWidget(m_listBox, 3);
    m_details = new ContactDetails(shop.folder().file(QStringLiteral("bkgd.BMP")), this);
    body->addWidget(m_details, 2);
    layout->addLayout(body, 1);

    m_card = new TFFornitore(shop, this);

    connect(bNew, &QPushButton::clicked, this, &ContactArchiveFrame::BNuovoClick);
    connect(bEdit, &QPushButton::clicked, this, &ContactArchiveFrame::BModificaClick);
    connect(bDelete, &QPushButton::clicked, this, &ContactArchiveFrame::BEliminaClick);
    connect(bExit, &QPushButton::clicked, this, &ContactArchiveFrame::BUscitaClick);
}

ContactArchiveFrame::~ContactArchiveFrame() = default;

void ContactArchiveFrame::setGrid(TableGrid *grid) {
    m_grid = grid;
    m_grid->setObjectName(QStringLiteral("Lista"));
    m_listLayout->addWidget(m_grid);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &ContactArchiveFrame::BModificaClick);
    connect(m_grid, &TableGrid::currentRecordChanged, this, &ContactArchiveFrame::showDetails);
    FocusHighlighter::install(this);
}

void ContactArchiveFrame::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        activate();
}

bool ContactArchiveFrame::hasSelection() const {
    return onContact() && !m_grid->isEmpty();
}

void ContactArchiveFrame::showDetails() {
    m_details->show(listOpen() && onContact() ? &listTable() : nullptr);
}

void ContactArchiveFrame::BNuovoClick() {
    m_card->CustomerMode = m_customers;
    m_card->NewRecord = true;
    m_card->exec();
    afterCard();
}

void ContactArchiveFrame::BModificaClick() {
    if (!hasSelection())
        return;
    m_card->CustomerMode = m_customers;
    m_card->NewRecord = false;
    m_card->RecordCode = listTable().asInteger(contactColumns::code);
    m_card->exec();
    afterCard();
}

void ContactArchiveFrame::afterCard() {
    if (!listOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        // Show the saved contact, when the search still lets it through.
        if (!m_card->SavedName.isEmpty()) {
            const qint64 code = m_card->RecordCode;
            m_grid->reloadSelecting(
                [code](db::Table &t) { return t.asInteger(contactColumns::code) == code; });
        } else {
            listTable().refresh();
            m_grid->reload();
        }
    });
}

void ContactArchiveFrame::BUscitaClick() {
    closeList();
    hide();
    if (m_opener)
        m_opener->receiveNotification(1);
}

} // namespace corvale
