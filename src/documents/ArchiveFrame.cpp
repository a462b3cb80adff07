#include "documents/ArchiveFrame.h"

#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "shell/CommonRoutines.h"
#include "shell/Shop.h"
#include "widgets/CaptionBox.h"
#include "widgets/FocusHighlighter.h"
#include "widgets/FormKit.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace corvale {

ArchiveFrame::ArchiveFrame(Shop &shop, Frame frame, QWidget *parent)
    : DocumentWindow(parent)
    , m_shop(shop)
    , m_frame(std::move(frame))
    , m_headers(std::make_unique<db::Table>(shop.database()))
    , m_lines(std::make_unique<db::Table>(shop.database())) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    formkit::titleBand(m_frame.heading, shop.folder().file(QStringLiteral("top.BMP")), this,
                       layout);

    m_toolbar = new QHBoxLayout;
    m_toolbar->setContentsMargins(8, 4, 8, 4);
    m_toolbar->addStretch();
    QPushButton *exit = formkit::button(QStringLiteral("Uscita"), this, m_toolbar, {}, 0);
    layout->addLayout(m_toolbar);

    m_band = new QHBoxLayout;
    m_band->setContentsMargins(8, 0, 8, 0);
    m_band->addWidget(new QLabel(m_frame.periodCaption, this));
    m_period = new QComboBox(this);
    m_period->setObjectName(QStringLiteral("Periodo"));
    m_period->addItems(PeriodFilter::choices());
    m_band->addWidget(m_period);
    m_fromCaption = new QLabel(QStringLiteral("DAL"), this);
    m_from = new QLineEdit(this);
    m_from->setObjectName(QStringLiteral("DAL"));
    m_from->setMaxLength(10);
    m_toCaption = new QLabel(QStringLiteral("AL"), this);
    m_to = new QLineEdit(this);
    m_to->setObjectName(QStringLiteral("AL"));
    m_to->setMaxLength(10);
    for (QWidget *w : {static_cast<QWidget *>(m_fromCaption), static_cast<QWidget *>(m_from),
                       static_cast<QWidget *>(m_toCaption), static_cast<QWidget *>(m_to)})
        m_band->addWidget(w);
    m_band->addStretch();
    layout->addLayout(m_band);

    m_headers->setTableName(m_frame.kind.headerTable);
    m_list = new TableGrid(*m_headers, this);
    m_list->setObjectName(QStringLiteral("Lista"));
    layout->addWidget(m_list, 3);

    auto *sumRow = new QHBoxLayout;
    sumRow->setContentsMargins(8, 0, 8, 0);
    sumRow->addStretch();
    m_sumLabel = formkit::valueBox(QStringLiteral("Totale"), QStringLiteral("Somma"), this, sumRow);
    m_sumLabel->setMinimumWidth(120);
    layout->addLayout(sumRow);

    auto *linesBox = new CaptionBox(m_frame.linesCaption, this);
    linesBox->setBackground(shop.folder().file(QStringLiteral("bkgd.BMP")));
    auto *linesLayout = new QVBoxLayout(linesBox);
    m_lines->setTableName(m_frame.kind.lineTable);
    m_lines->setIndexName(m_frame.kind.lineKey);
    m_detail = new TableGrid(*m_lines, linesBox);
    m_detail->setObjectName(QStringLiteral("Dettaglio"));
    linesLayout->addWidget(m_detail);
    layout->addWidget(linesBox, 2);

    connect(m_period, &QComboBox::currentIndexChanged, this, &ArchiveFrame::periodChanged);
    connect(m_from, &QLineEdit::editingFinished, this, &ArchiveFrame::applyPeriod);
    connect(m_to, &QLineEdit::editingFinished, this, &ArchiveFrame::applyPeriod);
    connect(m_list, &TableGrid::currentRecordChanged, m_detail, &TableGrid::reload);
    connect(exit, &QPushButton::clicked, this, &ArchiveFrame::BUscitaClick);
    FocusHighlighter::install(this);
}

ArchiveFrame::~ArchiveFrame() = default;

QPushButton *ArchiveFrame::addButton(const QString &caption, const QString &hint) {
    // As wide as its caption needs: a long row of them must still fit a narrow screen.
    QPushButton *b = formkit::button(caption, this, nullptr, hint, 0);
    m_toolbar->insertWidget(m_buttons++, b);
    return b;
}

void ArchiveFrame::placeAfterButtons(QWidget *widget) {
    // Before the stretch and "Uscita", after anything placed here earlier.
    m_toolbar->insertWidget(m_toolbar->count() - 2, widget);
}

void ArchiveFrame::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        activate();
}

bool ArchiveFrame::openTables() {
    return runReportingEngineErrors(m_shop.prompter(), [&] {
        closeTables();
        m_headers->open();
        m_lines->open();
        m_lines->setMasterSource(m_headers.get(), doc::NUMREG);
    });
}

void ArchiveFrame::closeTables() {
    m_lines->setMasterSource(nullptr);
    m_lines->close();
    m_headers->close();
}

PeriodFilter::Period ArchiveFrame::period() const {
    return PeriodFilter::periodAt(std::max(0, m_period->currentIndex()));
}

void ArchiveFrame::setPeriod(PeriodFilter::Period period) {
    m_period->setCurrentIndex(int(period));
    // The boxes follow the choice also when the index did not change.
    periodChanged();
}

void ArchiveFrame::setDates(const QDate &from, const QDate &to) {
    m_from->setText(Formats::formatDate(from));
    m_to->setText(Formats::formatDate(to));
}

QString ArchiveFrame::fromText() const {
    return m_from->text();
}

QString ArchiveFrame::toText() const {
    return m_to->text();
}

void ArchiveFrame::periodChanged() {
    const bool range = period() == PeriodFilter::Period::Range;
    for (QWidget *w : {static_cast<QWidget *>(m_fromCaption), static_cast<QWidget *>(m_from),
                       static_cast<QWidget *>(m_toCaption), static_cast<QWidget *>(m_to)})
        w->setVisible(range);
    applyPeriod();
}

std::optional<ArchiveFrame::DateKeys> ArchiveFrame::rangeKeys() {
    DateKeys keys;
    if (period() != PeriodFilter::Period::Range)
        return keys;
    keys.from = CommonRoutines::DateKey(m_from->text());
    keys.to = CommonRoutines::DateKey(m_to->text());
    for (const auto &[key, edit] : {std::pair{keys.from, m_from}, std::pair{keys.to, m_to}}) {
        if (key == QLatin1String("errore")) {
            m_shop.prompter().error(QStringLiteral("Data non valida: ") + edit->text());
            return std::nullopt;
        }
    }
    return keys;
}

void ArchiveFrame::setSum(double sum) {
    m_sum = sum;
    m_sumLabel->setText(Formats::format(u"%10.2n", m_sum) + QLatin1Char(' '));
}

qint64 ArchiveFrame::selectedKey() {
    if (!m_headers->isOpen() || m_list->isEmpty() || m_headers->recordNumber() == 0)
        return 0;
    return m_headers->asInteger(doc::NUMREG);
}

void ArchiveFrame::refreshList() {
    if (!m_headers->isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_headers->refresh();
        m_list->reload();
        m_detail->reload();
    });
    computeSum();
}

void ArchiveFrame::receiveNotification(int code) {
    if (code == 0 || code == 1)
        refreshList();
}

void ArchiveFrame::BUscitaClick() {
    closeTables();
    finish();
}

} // namespace corvale
