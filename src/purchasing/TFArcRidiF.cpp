#include "purchasing/TFArcRidiF.h"

#include "catalogue/ContactColumns.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "documents/DocumentPrintout.h"
#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "printing/PrintService.h"
#include "purchasing/PaymentColumns.h"
#include "purchasing/StatementPrintout.h"
#include "purchasing/SupplierStatement.h"
#include "purchasing/TFAcconto.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"
#include "widgets/TitleBand.h"

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

const QString &NOME = contactColumns::name;
const QString &CODICE = contactColumns::code;
const QString &NUMCLI = paymentColumns::partyKey;
const QString &ACCONTO = paymentColumns::amount;
const QString &COMMENTO = paymentColumns::comment;
const QString DATA = QStringLiteral("DATA");
const QString TIPODOC = QStringLiteral("TIPODOC");
const QString NUMERO = QStringLiteral("NUMERO");

QLabel *sumLabel(const QString &name, QWidget *parent) {
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(110);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

QString money(double v) {
    return Formats::format(u"%10.2n", v);
}

} // namespace

TFArcRidiF::TFArcRidiF(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_suppliers(std::make_unique<db::Table>(shop.database()))
    , m_statement(std::make_unique<db::Table>(shop.database()))
    , m_payments(std::make_unique<db::Table>(shop.database())) {
    setObjectName(QStringLiteral("TFArcRidiF"));
    setWindowTitle(QStringLiteral("Pagamenti ai Fornitori"));
    setMinimumSize(700, 500);
    resize(800, 600);
    m_suppliers->setTableName(contactColumns::suppliers);
    m_suppliers->setIndexName(NOME);
    m_statement->setTableName(QStringLiteral("TABLE3"));
    m_statement->setIndexName(doc::NUMRAG);
    m_payments->setTableName(paymentColumns::payments);
    m_payments->setIndexName(NUMCLI);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    auto *band = new TitleBand(QStringLiteral("PAGAMENTI FORNITORI"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(8, 4, 8, 4);
    top->addWidget(new QLabel(QStringLiteral("Anno"), this));
    m_year = new QComboBox(this);
    m_year->setObjectName(QStringLiteral("Anno"));
    top->addWidget(m_year);
    QPushButton *bPrint = formkit::button(QStringLiteral("Stampa"), this, top, {}, 0);
    top->addStretch();
    QPushButton *bExit = formkit::button(QStringLiteral("Uscita"), this, top, {}, 0);
    layout->addLayout(top);

    auto *body = new QGridLayout;
    body->setContentsMargins(8, 0, 8, 0);
    auto *left = new QVBoxLayout;
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("Cerca"));
    m_search->setMaxLength(30);
    left->addWidget(m_search);
    m_supplierList = new TableGrid(*m_suppliers, this);
    m_supplierList->setObjectName(QStringLiteral("Fornitori"));
    m_supplierList->addColumn(NOME, QStringLiteral("FORNITORE"));
    m_supplierList->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    left->addWidget(m_supplierList, 1);
    left->addWidget(new QLabel(QStringLiteral("Saldo Fornitore"), this));
    m_balance = sumLabel(QStringLiteral("SaldoFornitore"), this);
    left->addWidget(m_balance);
    body->addLayout(left, 0, 0, 2, 1);

    auto *documents = new QVBoxLayout;
    documents->addWidget(new QLabel(QStringLiteral("Elenco Acquisti"), this));
    m_statementList = new TableGrid(*m_statement, this);
    m_statementList->setObjectName(QStringLiteral("Acquisti"));
    m_statementList->addColumn(TIPODOC, QStringLiteral("Documento"));
    m_statementList->addColumn(NUMERO, QStringLiteral("Numero"));
    m_statementList->addColumn(DATA, QStringLiteral("Data"));
    m_statementList->addColumn(doc::TOTALE, QStringLiteral("Totale"), QStringLiteral(",0.00"));
    m_statementList->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    documents->addWidget(m_statementList, 1);
    m_documentsSum = sumLabel(QStringLiteral("SommaAcquisti"), this);
    documents->addWidget(m_documentsSum, 0, Qt::AlignRight);
    body->addLayout(documents, 0, 1);

    auto *paid = new QVBoxLayout;
    paid->addWidget(new QLabel(QStringLiteral("Pagamenti eseguiti"), this));
    m_paymentList = new TableGrid(*m_payments, this);
    m_paymentList->setObjectName(QStringLiteral("Pagamenti"));
    m_paymentList->addColumn(COMMENTO, QStringLiteral("Commento"));
    m_paymentList->addColumn(DATA, QStringLiteral("Data"));
    m_paymentList->addColumn(ACCONTO, QStringLiteral("Acconto"), QStringLiteral(",0.00"));
    m_paymentList->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    paid->addWidget(m_paymentList, 1);
    auto *paidBar = new QHBoxLayout;
    QPushButton *bNew = formkit::button(QStringLiteral("Nuovo"), this, paidBar, {}, 0);
    QPushButton *bEdit = formkit::button(QStringLiteral("Modifica"), this, paidBar, {}, 0);
    QPushButton *bDelete = formkit::button(QStringLiteral("Elimina"), this, paidBar, {}, 0);
    paidBar->addStretch();
    m_paymentsSum = sumLabel(QStringLiteral("SommaPagamenti"), this);
    paidBar->addWidget(m_paymentsSum);
    paid->addLayout(paidBar);
    body->addLayout(paid, 1, 1);
    body->setColumnStretch(1, 2);
    body->setColumnStretch(0, 1);
    layout->addLayout(body, 1);

    connect(bPrint, &QPushButton::clicked, this, &TFArcRidiF::BStampaClick);
    connect(bExit, &QPushButton::clicked, this, &TFArcRidiF::BUscitaClick);
    connect(bNew, &QPushButton::clicked, this, &TFArcRidiF::BNuovoClick);
    connect(bEdit, &QPushButton::clicked, this, &TFArcRidiF::BModificaClick);
    connect(bDelete, &QPushButton::clicked, this, &TFArcRidiF::BEliminaClick);
    connect(m_paymentList, &QAbstractItemView::doubleClicked, this, &TFArcRidiF::BModificaClick);
    connect(m_search, &QLineEdit::textChanged, this, &TFArcRidiF::searchChanged);
    connect(m_year, &QComboBox::currentIndexChanged, this, &TFArcRidiF::yearChanged);
    connect(m_supplierList, &TableGrid::currentRecordChanged, this, &TFArcRidiF::supplierChanged);
    // However the window is left, its tables close.
    connect(this, &QDialog::finished, this, &TFArcRidiF::closeTables);
    FocusHighlighter::install(this);
}

TFArcRidiF::~TFArcRidiF() = default;

void TFArcRidiF::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFArcRidiF::FormActivate() {
    m_opening = true;
    const int year = m_shop.clock().today().year();
    m_year->clear();
    for (int y = year - 3; y <= year; ++y)
        m_year->addItem(QString::number(y));
    m_year->setCurrentIndex(3);
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_suppliers->close();
        m_suppliers->open();
        m_statement->close();
        m_payments->close();
    });
    m_opening = false;
    searchChanged();
    yearChanged();
    m_search->setFocus();
}

void TFArcRidiF::searchChanged() {
    if (m_opening || !m_suppliers->isOpen())
        return;
    const QString t = CommonRoutines::QuoteSql(m_search->text());
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (t.isEmpty()) {
            m_suppliers->setFiltered(false);
        } else {
            m_suppliers->setFilter(QStringLiteral("(NOME >= '") + t +
                                   QStringLiteral("') AND (NOME <= '") + t + QStringLiteral("z')"));
            m_suppliers->setFiltered(true);
        }
        m_suppliers->first();
    });
    m_supplierList->reload();
    supplierChanged();
}

void TFArcRidiF::yearChanged() {
    if (m_opening || m_year->currentIndex() < 0)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_statement->close();
        SupplierStatement(m_shop.database()).build(m_year->currentText().toInt());
        m_statement->open();
    });
    supplierChanged();
}

qint64 TFArcRidiF::currentSupplier() const {
    if (!m_suppliers->isOpen() || m_suppliers->eof() || m_supplierList->isEmpty())
        return -1;
    return m_suppliers->asInteger(CODICE);
}

void TFArcRidiF::supplierChanged() {
    if (m_opening)
        return;
    const qint64 code = currentSupplier();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (!m_payments->isOpen()) {
            m_payments->open();
            m_payments->setFilter(QStringLiteral("ACCONTO <>0"));
            m_payments->setFiltered(true);
        }
        const QString text = QString::number(code);
        m_payments->setRange(text, text);
        if (m_statement->isOpen())
            m_statement->setRange(code, code);
    });
    m_statementList->reload();
    m_paymentList->reload();
    computeSums();
}

void TFArcRidiF::computeSums() {
    const qint64 code = currentSupplier();
    runReportingEngineErrors(m_shop.prompter(), [&] {
        SupplierStatement statement(m_shop.database());
        const double documents = code < 0 ? 0 : statement.documents(code);
        const double paid = code < 0 ? 0 : statement.payments(code);
        m_documentsSum->setText(money(documents));
        m_paymentsSum->setText(money(paid));
        m_balance->setText(money(documents - paid));
    });
}

void TFArcRidiF::BNuovoClick() {
    const qint64 code = currentSupplier();
    if (code < 0)
        return;
    TFAcconto payment(m_shop, this);
    payment.PaymentKey = 0;
    payment.PartnerName = m_suppliers->asString(NOME);
    payment.PartnerCode = QString::number(code);
    payment.IsCustomer = false;
    payment.exec();
    supplierChanged();
}

void TFArcRidiF::BModificaClick() {
    if (currentSupplier() < 0 || m_paymentList->isEmpty())
        return;
    TFAcconto payment(m_shop, this);
    payment.PaymentKey = m_payments->asInteger(paymentColumns::key);
    payment.IsCustomer = false;
    payment.exec();
    supplierChanged();
}

void TFArcRidiF::BEliminaClick() {
    if (currentSupplier() < 0 || m_paymentList->isEmpty())
        return;
    if (!m_shop.prompter().confirm(QStringLiteral("Eliminare l'acconto selezionato?")))
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] { m_payments->remove(); });
    supplierChanged();
}

void TFArcRidiF::BStampaClick() {
    const qint64 code = currentSupplier();
    if (code < 0)
        return;
    const QDate today = m_shop.clock().today();
    const auto typed =
        m_shop.prompter().input(QStringLiteral("STAMPA MOVIMENTI"), QStringLiteral("DATA INIZIO"),
                                today.toString(QStringLiteral("01/MM/yyyy")));
    if (!typed)
        return;
    StatementPrintout printout;
    printout.nameLine1 = m_shop.texts().nameLine1;
    printout.nameLine2 = m_shop.texts().nameLine2;
    printout.supplier = m_suppliers->asString(NOME);
    printout.fromText = *typed;
    printout.todayText = Formats::formatDate(today);
    const bool ready = runReportingEngineErrors(m_shop.prompter(), [&] {
        db::Table rows(m_shop.database());
        rows.setTableName(QStringLiteral("TABLE3"));
        rows.setIndexName(doc::NUMRAG);
        rows.open();
        rows.setRange(code, code);
        for (rows.first(); !rows.eof(); rows.next())
            printout.movements << StatementPrintout::Movement{
                rows.asString(doc::MYDATA), rows.asString(DATA),       rows.asString(NUMERO),
                rows.asString(TIPODOC),     rows.asFloat(doc::TOTALE), 0};
        db::Table paid(m_shop.database());
        paid.setTableName(paymentColumns::payments);
        paid.setIndexName(NUMCLI);
        paid.open();
        const QString text = QString::number(code);
        paid.setRange(text, text);
        for (paid.first(); !paid.eof(); paid.next()) {
            if (paid.asBool(paymentColumns::fromCustomer) || paid.asFloat(ACCONTO) == 0)
                continue;
            printout.movements << StatementPrintout::Movement{paid.asString(doc::MYDATA),
                                                              paid.asString(DATA),
                                                              QString(),
                                                              paid.asString(COMMENTO),
                                                              0,
                                                              paid.asFloat(ACCONTO)};
        }
    });
    if (!ready)
        return;
    printout.settle(CommonRoutines::DateKey(*typed));
    PrintService &service = m_shop.printService();
    if (!service.print(QStringLiteral("Movimenti Fornitore"),
                       [printout](PageCanvas &canvas) { printout.draw(canvas); }) &&
        !service.errorText().isEmpty())
        m_shop.prompter().error(service.errorText());
}

void TFArcRidiF::closeTables() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_suppliers->close();
        m_payments->close();
        m_statement->close();
    });
    m_supplierList->reload();
    m_statementList->reload();
    m_paymentList->reload();
}

void TFArcRidiF::BUscitaClick() {
    accept();
}

} // namespace corvale
