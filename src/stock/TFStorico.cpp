#include "stock/TFStorico.h"

#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "shell/Shop.h"
#include "stock/ArticleHistory.h"
#include "stock/StockColumns.h"
#include "stock/StockWindowKit.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/TitleBand.h"
#include "widgets/WaitCursor.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

namespace sc = stockColumns;

TFStorico::TFStorico(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop)
    , m_history(std::make_unique<ArticleHistory>(shop)) {
    setObjectName(QStringLiteral("TFStorico"));
    setWindowTitle(QStringLiteral("Storico Articolo"));
    setModal(true);
    resize(700, 600);
    setMinimumHeight(500);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    auto *band = new TitleBand(QStringLiteral("STORICO ARTICOLO"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *boxes = new QHBoxLayout;
    boxes->setContentsMargins(8, 2, 8, 2);
    auto readOnly = [&](const QString &caption, int width) {
        boxes->addWidget(new QLabel(caption, this));
        auto *e = new QLineEdit(this);
        e->setObjectName(caption);
        e->setReadOnly(true);
        e->setFixedWidth(width);
        boxes->addWidget(e);
        return e;
    };
    m_code = readOnly(QStringLiteral("Codice"), 110);
    m_description = readOnly(QStringLiteral("Articolo"), 220);
    m_average = readOnly(QStringLiteral("Prezzo medio"), 90);
    boxes->addStretch();
    layout->addLayout(boxes);

    auto *view = new QHBoxLayout;
    view->setContentsMargins(8, 2, 8, 2);
    view->addWidget(new QLabel(QStringLiteral("Visualizza"), this));
    m_side = new QComboBox(this);
    m_side->setObjectName(QStringLiteral("Visualizza"));
    m_side->addItems({QStringLiteral("Acquisti"), QStringLiteral("Vendite")});
    view->addWidget(m_side);
    view->addWidget(new QLabel(QStringLiteral("Periodo"), this));
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("Periodo"));
    m_period->addItems({QStringLiteral("< Qualsiasi >"), QStringLiteral("Anno Corrente"),
                        QStringLiteral("Mese Corrente"), QStringLiteral("Dal... Al...")});
    view->addWidget(m_period);
    auto dateBox = [&](const char *name) {
        auto *box = new QDateEdit(shop.clock().today(), this);
        box->setObjectName(QString::fromLatin1(name));
        box->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        box->setCalendarPopup(true);
        box->hide();
        view->addWidget(box);
        connect(box, &QDateEdit::dateChanged, this, &TFStorico::applyView);
        return box;
    };
    m_from = dateBox("DAL");
    m_to = dateBox("AL");
    view->addStretch();
    layout->addLayout(view);
    connect(m_side, &QComboBox::currentIndexChanged, this, &TFStorico::applyView);
    connect(m_period, &QComboBox::currentIndexChanged, this, [this] {
        const bool range = m_period->currentIndex() == int(MovementPeriod::Kind::Range);
        m_from->setVisible(range);
        m_to->setVisible(range);
        applyView();
    });

    m_grid = new TableGrid(m_history->list(), this);
    m_grid->setObjectName(QStringLiteral("Lista"));
    layout->addWidget(m_grid, 1);

    auto *foot = new QHBoxLayout;
    foot->setContentsMargins(8, 2, 8, 2);
    foot->addWidget(new QLabel(
        QStringLiteral("F = Fattura; B = DDT; N = Nota d'accredito; A = Acquisto"), this));
    foot->addStretch();
    foot->addWidget(new QLabel(QStringLiteral("TOTALE"), this));
    m_total = new QLabel(QStringLiteral("0"), this);
    m_total->setObjectName(QStringLiteral("TOTALE"));
    m_total->setMinimumWidth(70);
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    foot->addWidget(m_total);
    auto *exit = new QPushButton(QStringLiteral("Uscita"), this);
    exit->setObjectName(QStringLiteral("Uscita"));
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    foot->addWidget(exit);
    layout->addLayout(foot);
    FocusHighlighter::install(this);
}

TFStorico::~TFStorico() = default;

void TFStorico::setArticle(qint64 key, const QString &code, const QString &description) {
    m_article = key;
    m_code->setText(code);
    m_description->setText(description);
}

void TFStorico::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void TFStorico::done(int result) {
    m_history->close();
    m_grid->reload();
    QDialog::done(result);
}

void TFStorico::FormActivate() {
    m_busy = true;
    m_average->setText(QStringLiteral("?"));
    m_period->setCurrentIndex(int(MovementPeriod::Kind::CurrentYear));
    m_side->setCurrentIndex(1);
    {
        WaitCursor wait;
        runReportingEngineErrors(m_shop.prompter(), [&] { m_history->load(m_article); });
    }
    m_busy = false;
    applyView();
}

void TFStorico::applyView() {
    if (m_busy || !m_history->list().isOpen())
        return;
    const bool sales = m_side->currentIndex() == 1;
    m_average->setText(Formats::format(u"%10.2n", sales ? m_history->averageSalePrice()
                                                        : m_history->averagePurchasePrice())
                           .trimmed());
    MovementPeriod period;
    period.kind = MovementPeriod::Kind(std::max(m_period->currentIndex(), 0));
    period.from = m_from->date();
    period.to = m_to->date();

    TableModel &model = m_grid->model();
    model.clearColumns();
    m_grid->addColumn(sc::CLIENTE, sales ? QStringLiteral("Cliente") : QStringLiteral("Fornitore"),
                      {}, 200);
    m_grid->addColumn(doc::TIPO, QStringLiteral("TD"), {}, 30);
    m_grid->addColumn(sc::NUMERO, QStringLiteral("NUMERO"), {}, 60);
    m_grid->addColumn(sc::DATA, QStringLiteral("DATA"), {}, 75);
    m_grid->addColumn(sheet::QUANTITA, QStringLiteral("Q.tà"), QStringLiteral(",#.##"), 50);
    m_grid->addColumn(sheet::COLORE, QStringLiteral("Colore"), {}, 90);
    m_grid->addColumn(sheet::TAGLIA, QStringLiteral("Taglia"), {}, 50);
    if (sales)
        m_grid->addColumn(sc::PREZZOV, QStringLiteral("Prezzo Ven."), QStringLiteral(",0.00"), 75);
    else
        m_grid->addColumn(sc::PREZZOA, QStringLiteral("Prezzo Acq."), QStringLiteral(",0.00"), 75);

    runReportingEngineErrors(m_shop.prompter(), [&] {
        const double total = m_history->applyView(
            sales ? ArticleHistory::Side::Sales : ArticleHistory::Side::Purchases, period);
        m_grid->reload();
        m_total->setText(ArticleHistory::totalText(total));
    });
}

} // namespace corvale
