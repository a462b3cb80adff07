#include "cashbook/TFNotaM.h"

#include "cashbook/ColumnBackgrounds.h"
#include "cashbook/TFInOut.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/TableModel.h"
#include "widgets/TitleBand.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace corvale {

using namespace cashbook;

namespace {

struct BookTexts {
    QString caption, inButton, outButton, inColumn, outColumn;
};

BookTexts textsOf(Book book) {
    if (book == Book::Bank)
        return {QStringLiteral("BANCA"), QStringLiteral("&Versamento"), QStringLiteral("&Prelievo"),
                QStringLiteral("Versamenti"), QStringLiteral("Prelievi")};
    return {book == Book::Cash ? QStringLiteral("CASSA") : QStringLiteral("VARIE"),
            QStringLiteral("&Entrata"), QStringLiteral("Us&cita"), QStringLiteral("Entrate"),
            QStringLiteral("Uscite")};
}

QDateEdit *dateField(const QString &name, QWidget *parent) {
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    edit->setCalendarPopup(true);
    edit->setKeyboardTracking(false);
    return edit;
}

} // namespace

TFNotaM::TFNotaM(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_movements(shop.database(), Book::Cash) {
    setObjectName(QStringLiteral("TFNotaM"));
    resize(800, 600);
    setFixedWidth(800);
    setMinimumHeight(500);
    auto *layout = new QVBoxLayout(this);
    m_band = new TitleBand(QString(), this);
    m_band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(m_band);

    auto *tools = new QHBoxLayout;
    m_in = new QPushButton(this);
    m_in->setObjectName(QStringLiteral("Entrata"));
    m_out = new QPushButton(this);
    m_out->setObjectName(QStringLiteral("Uscita"));
    auto *remove = new QPushButton(QStringLiteral("Elimina"), this);
    remove->setObjectName(QStringLiteral("Elimina"));
    m_from = dateField(QStringLiteral("DAL"), this);
    m_to = dateField(QStringLiteral("AL"), this);
    auto *exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("Esci"));
    tools->addWidget(m_in);
    tools->addWidget(m_out);
    tools->addWidget(remove);
    tools->addWidget(new QLabel(QStringLiteral("DAL"), this));
    tools->addWidget(m_from);
    tools->addWidget(new QLabel(QStringLiteral("AL"), this));
    tools->addWidget(m_to);
    tools->addStretch();
    tools->addWidget(exit);
    layout->addLayout(tools);

    m_model = new TableModel(m_movements.table(), this);
    auto *colours = new ColumnBackgrounds(QColor(255, 255, 225), this);
    colours->setColumnColor(2, QColor(235, 255, 235));
    colours->setColumnColor(3, QColor(255, 235, 235));
    colours->setSourceModel(m_model);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("Grid"));
    m_grid->setModel(colours);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    layout->addWidget(m_grid, 1);
    m_entry = new TFInOut(shop, this);
    FocusHighlighter::install(this);

    connect(m_in, &QPushButton::clicked, this, &TFNotaM::BEntrataClick);
    connect(m_out, &QPushButton::clicked, this, &TFNotaM::BUscitaClick);
    connect(remove, &QPushButton::clicked, this, &TFNotaM::BEliminaClick);
    connect(exit, &QPushButton::clicked, this, &TFNotaM::BUscitaWindowClick);
    connect(m_grid, &QTableView::doubleClicked, this, &TFNotaM::GridDblClick);
    connect(m_from, &QDateEdit::dateChanged, this, &TFNotaM::applyPeriod);
    connect(m_to, &QDateEdit::dateChanged, this, &TFNotaM::applyPeriod);
    const QDate today = shop.clock().today();
    m_from->setDate(today);
    m_to->setDate(today);
    setBook(Book::Cash);
}

TFNotaM::~TFNotaM() = default;

void TFNotaM::setBook(Book book) {
    m_movements.setBook(book);
    m_model->reload();
    const BookTexts texts = textsOf(book);
    setWindowTitle(texts.caption);
    m_band->setHeading(texts.caption);
    m_in->setText(texts.inButton);
    m_out->setText(texts.outButton);
    m_model->clearColumns();
    m_model->addColumn(DESCRIZION, QStringLiteral("Operazione"), {}, 400);
    m_model->addColumn(DATA, QStringLiteral("Data"), {}, 90);
    m_model->addColumn(IMPORTOI, texts.inColumn, QStringLiteral(",0.00"), 110);
    m_model->addColumn(IMPORTOU, texts.outColumn, QStringLiteral(",0.00"), 110);
    for (int c = 0; c < m_model->columnCount(); ++c)
        m_grid->setColumnWidth(c, m_model->column(c).width);
}

void TFNotaM::setPeriod(const QDate &from, const QDate &to) {
    m_from->setDate(from);
    m_to->setDate(to);
}

void TFNotaM::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    runReportingEngineErrors(m_shop.prompter(), [&] { m_movements.open(); });
    m_dateHandling = true;
    applyPeriod();
}

void TFNotaM::hideEvent(QHideEvent *event) {
    m_dateHandling = false;
    m_movements.close();
    m_model->reload();
    QDialog::hideEvent(event);
}

void TFNotaM::applyPeriod() {
    if (!m_dateHandling || !m_movements.isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(),
                             [&] { m_movements.setPeriod(m_from->text(), m_to->text()); });
    refreshList();
}

void TFNotaM::refreshList() {
    m_model->reload();
    if (m_model->rowCount() > 0)
        m_grid->selectRow(m_model->currentRow() < 0 ? 0 : m_model->currentRow());
}

void TFNotaM::enter(BookMovements::Direction direction, const QString &title) {
    m_entry->setTitle(title);
    m_entry->exec();
    const BookMovements::Entry entry = m_entry->entry();
    if (entry.description.isEmpty())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] { m_movements.add(direction, entry); });
    refreshList();
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
}

void TFNotaM::BEntrataClick() {
    enter(BookMovements::Direction::In, QStringLiteral("Nuova Entrata"));
}

void TFNotaM::BUscitaClick() {
    enter(BookMovements::Direction::Out, QStringLiteral("Nuova Uscita"));
}

void TFNotaM::GridDblClick() {
    const int row = m_grid->currentIndex().row();
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_model->setCurrentRow(row);
    const bool in = m_movements.currentDirection() == BookMovements::Direction::In;
    m_entry->setTitle(in ? QStringLiteral("Modifica Entrata") : QStringLiteral("Modifica Uscita"));
    m_entry->presetEntry(m_movements.current());
    m_entry->exec();
    const BookMovements::Entry entry = m_entry->entry();
    if (entry.description.isEmpty())
        return;
    m_model->setCurrentRow(row);
    runReportingEngineErrors(m_shop.prompter(), [&] { m_movements.changeCurrent(entry); });
    refreshList();
}

void TFNotaM::BEliminaClick() {
    if (m_model->rowCount() == 0)
        return;
    const int row = m_grid->currentIndex().row();
    if (!m_shop.prompter().confirm(QStringLiteral("Eliminare l'operazione selezionata?")))
        return;
    m_model->setCurrentRow(row < 0 ? 0 : row);
    runReportingEngineErrors(m_shop.prompter(), [&] { m_movements.removeCurrent(); });
    refreshList();
}

void TFNotaM::BUscitaWindowClick() {
    m_dateHandling = false;
    m_movements.close();
    accept();
}

} // namespace corvale
