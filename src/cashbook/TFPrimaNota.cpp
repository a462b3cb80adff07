#include "cashbook/TFPrimaNota.h"

#include "cashbook/PrimaNota.h"
#include "cashbook/PrimaNotaExport.h"
#include "cashbook/PrimaNotaPrintout.h"
#include "cashbook/RegisterDaysModel.h"
#include "cashbook/TFNotaM.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "printing/PrintService.h"
#include "register/RegisterSettings.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"
#include "widgets/TableModel.h"
#include "widgets/TitleBand.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace corvale {

using namespace cashbook;

namespace {

// Sets a flag for a scope and restores the cursor it changed, whatever happens.
struct BusyScope {
    bool &flag;
    bool waitCursor;
    BusyScope(bool &f, bool wait)
        : flag(f)
        , waitCursor(wait) {
        flag = true;
        if (waitCursor)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyScope() {
        flag = false;
        if (waitCursor)
            QApplication::restoreOverrideCursor();
    }
};

QDateEdit *dateField(const QString &name, QWidget *parent) {
    auto *edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    edit->setCalendarPopup(true);
    edit->setKeyboardTracking(false);
    return edit;
}

constexpr int amountWidth = 95;
constexpr int dateWidth = 80;

} // namespace

TFPrimaNota::TFPrimaNota(Shop &shop, QWidget *parent)
    : QWidget(parent)
    , m_shop(shop)
    , m_table(shop.database()) {
    setObjectName(QStringLiteral("TFPrimaNota"));
    setWindowTitle(QStringLiteral("Prima Nota "));
    auto *layout = new QVBoxLayout(this);
    auto *band = new TitleBand(QStringLiteral("PRIMA NOTA"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *tools = new QHBoxLayout;
    m_from = dateField(QStringLiteral("DAL"), this);
    m_to = dateField(QStringLiteral("AL"), this);
    tools->addWidget(new QLabel(QStringLiteral("DAL"), this));
    tools->addWidget(m_from);
    tools->addWidget(new QLabel(QStringLiteral("AL"), this));
    tools->addWidget(m_to);
    tools->addStretch();
    QPushButton *print = formkit::button(QStringLiteral("Stampa"), this, nullptr, {}, 0);
    QPushButton *exportButton = formkit::button(QStringLiteral("Esporta"), this, nullptr, {}, 0);
    QPushButton *exit = formkit::button(QStringLiteral("Uscita"), this, nullptr, {}, 0);
    tools->addWidget(print);
    tools->addWidget(exportButton);
    tools->addWidget(exit);
    layout->addLayout(tools);

    auto *books = new QHBoxLayout;
    m_compare = new QCheckBox(QStringLiteral("Confronto con il registratore telematico"), this);
    m_compare->setObjectName(QStringLiteral("ConfrontoRT"));
    books->addWidget(m_compare);
    books->addStretch();
    QPushButton *cash = formkit::button(QStringLiteral("CASSA"), this, nullptr, {}, 0);
    QPushButton *bank = formkit::button(QStringLiteral("BANCA"), this, nullptr, {}, 0);
    QPushButton *other = formkit::button(QStringLiteral("VARIE"), this, nullptr, {}, 0);
    for (QPushButton *b : {cash, bank, other}) {
        b->setFixedWidth(2 * amountWidth);
        books->addWidget(b);
    }
    layout->addLayout(books);

    m_table.setTableName(primaNota);
    m_table.setIndexName(MYDATA);
    m_model = new TableModel(m_table, this);
    m_model->addColumn(DATA, QStringLiteral("Data"), {}, dateWidth);
    m_model->addColumn(DESCRIZION, QStringLiteral("Operazione"));
    const QString heads[] = {QStringLiteral("Entrate"),    QStringLiteral("Uscite"),
                             QStringLiteral("Versamenti"), QStringLiteral("Prelievi"),
                             QStringLiteral("Entrate"),    QStringLiteral("Uscite")};
    int head = 0;
    for (int k : {0, 1, 3}) {
        m_model->addColumn(moneyIn(k), heads[head++], QStringLiteral(",0.00"), amountWidth);
        m_model->addColumn(moneyOut(k), heads[head++], QStringLiteral(",0.00"), amountWidth);
    }
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("Grid"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    layout->addWidget(m_grid, 3);

    m_registerModel = new RegisterDaysModel(this);
    m_registerGrid = new QTableView(this);
    m_registerGrid->setObjectName(QStringLiteral("GrigliaRT"));
    m_registerGrid->setModel(m_registerModel);
    m_registerGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_registerGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_registerGrid->verticalHeader()->hide();
    m_registerGrid->setColumnWidth(RegisterDaysModel::Date, dateWidth);
    for (int c : {RegisterDaysModel::Takings, RegisterDaysModel::RegisterTotal,
                  RegisterDaysModel::Difference})
        m_registerGrid->setColumnWidth(c, amountWidth);
    m_registerGrid->setVisible(false);
    layout->addWidget(m_registerGrid, 1);

    auto *totals = new QHBoxLayout;
    totals->addStretch();
    totals->addWidget(new QLabel(QStringLiteral("TOTALI"), this));
    const QString names[] = {QStringLiteral("TotaleCassa"), QStringLiteral("TotaleBanca"),
                             QStringLiteral("TotaleVarie")};
    for (int i = 0; i < 3; ++i) {
        m_totals[i] = new QLabel(this);
        m_totals[i]->setObjectName(names[i]);
        m_totals[i]->setFixedWidth(2 * amountWidth);
        m_totals[i]->setAlignment(Qt::AlignCenter);
        totals->addWidget(m_totals[i]);
    }
    layout->addLayout(totals);
    m_books = new TFNotaM(shop, this);
    FocusHighlighter::install(this);

    connect(print, &QPushButton::clicked, this, &TFPrimaNota::BStampaClick);
    connect(exportButton, &QPushButton::clicked, this, &TFPrimaNota::BEsportaClick);
    connect(exit, &QPushButton::clicked, this, &TFPrimaNota::BUscitaClick);
    connect(cash, &QPushButton::clicked, this, &TFPrimaNota::BCassaClick);
    connect(bank, &QPushButton::clicked, this, &TFPrimaNota::BBancaClick);
    connect(other, &QPushButton::clicked, this, &TFPrimaNota::BVarieClick);
    connect(m_compare, &QCheckBox::toggled, this, [this] {
        m_compareChosen = true;
        showRegisterDays();
    });
    for (QDateEdit *edit : {m_from, m_to})
        connect(edit, &QDateEdit::dateChanged, this, [this] {
            if (!m_busy)
                Rebuild();
        });
}

TFPrimaNota::~TFPrimaNota() = default;

void TFPrimaNota::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    fitColumns();
    // A shop with a telematic register sees the check until it says otherwise.
    if (!m_compareChosen) {
        const QSignalBlocker quiet(m_compare);
        m_compare->setChecked(RegisterSettings::read(m_shop.ini()).isTelematic());
    }
    {
        BusyScope own(m_busy, false);
        const QDate today = m_shop.clock().today();
        m_from->setDate(QDate(today.year(), today.month(), 1));
        m_to->setDate(today);
    }
    Rebuild();
}

void TFPrimaNota::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    fitColumns();
}

void TFPrimaNota::fitColumns() {
    int others = 0;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        if (c == 1)
            continue;
        m_grid->setColumnWidth(c, m_model->column(c).width);
        others += m_model->column(c).width;
    }
    m_grid->setColumnWidth(1, qMax(100, m_grid->width() - 36 - others));
}

bool TFPrimaNota::Rebuild() {
    if (m_busy)
        return false;
    QString from = m_from->text();
    const QString to = m_to->text();
    const PrimaNota::Period period = PrimaNota::checkPeriod(from, to);
    if (period != PrimaNota::Period::Valid) {
        m_shop.prompter().error(PrimaNota::periodMessage(period));
        return false;
    }
    BusyScope busy(m_busy, true);
    if (from != m_from->text())
        m_from->setDate(*Formats::parseDate(from));
    m_grid->setFocus();
    m_table.close();
    PrimaNota book(m_shop.database());
    PrimaNotaContent content;
    const bool done = runReportingEngineErrors(m_shop.prompter(), [&] {
        content = book.gather(from, to);
        book.write(content);
        m_table.open();
    });
    // After a failure nothing is shown: the table holds no lines or, if even
    // emptying it failed, lines that must not be read as a Prima nota.
    if (!done) {
        content = PrimaNotaContent();
        content.fromText = from;
        content.toText = to;
    }
    m_content = content;
    if (!done)
        m_table.close();
    m_model->reload();
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
    showTotals();
    showRegisterDays();
    return done;
}

void TFPrimaNota::showTotals() {
    const Book books[] = {Book::Cash, Book::Bank, Book::Other};
    for (int i = 0; i < 3; ++i)
        m_totals[i]->setText(Formats::format(u"%10.2n", m_content.balance(books[i])).trimmed());
}

void TFPrimaNota::showRegisterDays() {
    m_registerModel->setDays(m_compare->isChecked() ? m_content.registerDays
                                                    : QList<RegisterDay>());
    m_registerGrid->setVisible(m_compare->isChecked());
}

void TFPrimaNota::openBook(Book book) {
    m_books->setBook(book);
    m_books->setPeriod(m_from->date(), m_to->date());
    m_books->exec();
    Rebuild();
}

void TFPrimaNota::BCassaClick() {
    openBook(Book::Cash);
}

void TFPrimaNota::BBancaClick() {
    openBook(Book::Bank);
}

void TFPrimaNota::BVarieClick() {
    openBook(Book::Other);
}

void TFPrimaNota::BStampaClick() {
    if (!runReportingEngineErrors(m_shop.prompter(), [&] { m_shop.routines().LoadShopTexts(); }))
        return;
    const PrimaNotaPrintout printout{m_shop.texts().nameLine1, m_shop.texts().vatNumber, &m_content,
                                     m_compare->isChecked()};
    PrintService &printer = m_shop.printService();
    if (!printer.print(QStringLiteral("Prima Nota"),
                       [&printout](PageCanvas &canvas) { printout.draw(canvas); }) &&
        !printer.errorText().isEmpty())
        m_shop.prompter().error(printer.errorText());
}

void TFPrimaNota::BEsportaClick() {
    PrimaNotaExport::exportWithDialog(m_shop, m_content, m_compare->isChecked());
}

void TFPrimaNota::BUscitaClick() {
    m_table.close();
    m_model->reload();
    hide();
}

} // namespace corvale
