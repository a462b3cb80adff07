#include "catalogue/TFSaldi.h"

#include "catalogue/ArticleColumns.h"
#include "catalogue/CampaignBook.h"
#include "catalogue/LabelPreparation.h"
#include "catalogue/SalePrices.h"
#include "catalogue/SeasonSaleColumns.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "platform/Formats.h"
#include "platform/NotYetAvailable.h"
#include "shell/Shop.h"
#include "widgets/TitleBand.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace corvale {

namespace a = articleColumns;
namespace c = seasonSaleColumns;

namespace {

// The warnings shown before a campaign starts: at most this many articles.
constexpr int shownWarnings = 10;

QString kindText(CampaignSelection kind) {
    switch (kind) {
    case CampaignSelection::Category:
        return QStringLiteral("Categoria");
    case CampaignSelection::Brand:
        return QStringLiteral("Marchio");
    case CampaignSelection::Supplier:
        return QStringLiteral("Fornitore");
    case CampaignSelection::SizeType:
        return QStringLiteral("Tipo Taglia");
    case CampaignSelection::Season:
        return QStringLiteral("Stagione");
    case CampaignSelection::Articles:
        return QStringLiteral("Articoli");
    }
    return {};
}

QString warningsText(const QList<SalePrices::PreviewLine> &lines) {
    QStringList out;
    int more = 0;
    for (const auto &line : lines) {
        if (line.warning.isEmpty())
            continue;
        if (out.size() < shownWarnings)
            out << line.article.description + QStringLiteral(": ") + line.warning;
        else
            ++more;
    }
    if (more > 0)
        out << QStringLiteral("... e altri %1 articoli").arg(more);
    return out.join(u'\r');
}

} // namespace

TFSaldi::TFSaldi(Shop &shop, QWidget *parent)
    : QDialog(parent)
    , m_shop(shop) {
    setObjectName(QStringLiteral("TFSaldi"));
    setWindowTitle(QStringLiteral("Saldi e promozioni"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    auto *band = new TitleBand(QStringLiteral("SALDI E PROMOZIONI"), this);
    band->setPicture(shop.folder().file(QStringLiteral("top.BMP")));
    layout->addWidget(band);

    auto *body = new QHBoxLayout;
    body->setContentsMargins(6, 0, 6, 0);
    m_list = new QTableWidget(0, 5, this);
    m_list->setObjectName(QStringLiteral("Campagne"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("Campagna"), QStringLiteral("Dal"),
                                       QStringLiteral("Al"), QStringLiteral("Selezione"),
                                       QStringLiteral("Sconto")});
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->horizontalHeader()->setStretchLastSection(true);
    body->addWidget(m_list, 3);

    auto *form = new QFormLayout;
    auto named = [this](auto *w, const QString &name) {
        w->setObjectName(name);
        return w;
    };
    m_name = named(new QLineEdit(this), QStringLiteral("Nome"));
    m_name->setMaxLength(c::campaignNameLength);
    m_first = named(new QDateEdit(this), QStringLiteral("Dal"));
    m_last = named(new QDateEdit(this), QStringLiteral("Al"));
    for (QDateEdit *d : {m_first, m_last}) {
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
        d->setCalendarPopup(true);
    }
    m_kind = named(new QComboBox(this), QStringLiteral("Selezione"));
    for (int k = int(CampaignSelection::Category); k <= int(CampaignSelection::Articles); ++k)
        m_kind->addItem(kindText(CampaignSelection(k)), k);
    m_value = named(new QComboBox(this), QStringLiteral("Voce"));
    m_year = named(new QComboBox(this), QStringLiteral("Anno"));
    m_codes = named(new QLineEdit(this), QStringLiteral("Articoli"));
    m_codes->setPlaceholderText(QStringLiteral("codici separati da spazi"));
    m_percent = named(new QLineEdit(this), QStringLiteral("Sconto"));
    m_price = named(new QLineEdit(this), QStringLiteral("Prezzo"));
    form->addRow(QStringLiteral("Campagna"), m_name);
    form->addRow(QStringLiteral("Dal"), m_first);
    form->addRow(QStringLiteral("Al"), m_last);
    form->addRow(QStringLiteral("Selezione"), m_kind);
    form->addRow(QStringLiteral("Voce"), m_value);
    form->addRow(QStringLiteral("Anno"), m_year);
    auto *codes = new QHBoxLayout;
    codes->addWidget(m_codes, 1);
    auto *fromArchive = new QPushButton(QStringLiteral("Dall'archivio"), this);
    fromArchive->setObjectName(QStringLiteral("DallArchivio"));
    fromArchive->setToolTip(QStringLiteral("Gli articoli elencati nell'archivio articoli"));
    connect(fromArchive, &QPushButton::clicked, this, &TFSaldi::BDallArchivioClick);
    codes->addWidget(fromArchive);
    form->addRow(QStringLiteral("Articoli"), codes);
    form->addRow(QStringLiteral("Sconto %"), m_percent);
    form->addRow(QStringLiteral("oppure Prezzo fisso"), m_price);
    body->addLayout(form, 2);
    layout->addLayout(body, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 0, 6, 0);
    auto button = [&](const QString &caption, void (TFSaldi::*slot)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString(caption).remove(u'&'));
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    button(QStringLiteral("&Nuovo"), &TFSaldi::BNuovoClick);
    button(QStringLiteral("&Salva"), &TFSaldi::BSalvaClick);
    button(QStringLiteral("&Elimina"), &TFSaldi::BEliminaClick);
    button(QStringLiteral("Anteprima"), &TFSaldi::BAnteprimaClick);
    m_labelsButton = button(QStringLiteral("Etichette"), &TFSaldi::BEtichetteClick);
    auto *report = new QPushButton(QStringLiteral("Venduto per stagione"), this);
    report->setObjectName(QStringLiteral("Venduto"));
    connect(report, &QPushButton::clicked, this, [this] {
        if (m_report)
            m_report();
        else
            reportNotYetAvailable(m_shop.prompter());
    });
    buttons->addWidget(report);
    buttons->addStretch();
    button(QStringLiteral("Uscita"), &TFSaldi::accept);
    layout->addLayout(buttons);

    connect(m_kind, &QComboBox::currentIndexChanged, this, &TFSaldi::fillChoices);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, &TFSaldi::rowChosen);
    resize(900, 480);
}

TFSaldi::~TFSaldi() = default;

void TFSaldi::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    reload();
    BNuovoClick();
}

void TFSaldi::reload() {
    runReportingEngineErrors(m_shop.prompter(),
                             [&] { m_campaigns = CampaignBook(m_shop.database()).load(); });
    const QSignalBlocker block(m_list);
    m_list->setRowCount(int(m_campaigns.size()));
    for (int r = 0; r < m_campaigns.size(); ++r) {
        const Campaign &k = m_campaigns.at(r);
        const QString off = k.fixedPrice
                                ? SalePrices::euro(*k.fixedPrice)
                                : QStringLiteral("%1%").arg(Formats::display(u"#.##", k.percent));
        const QStringList cells{k.name, Formats::formatDate(k.first), Formats::formatDate(k.last),
                                kindText(k.selection), off};
        for (int col = 0; col < cells.size(); ++col)
            m_list->setItem(r, col, new QTableWidgetItem(cells.at(col)));
    }
}

void TFSaldi::fillChoices() {
    const auto kind = CampaignSelection(m_kind->currentData().toInt());
    m_value->clear();
    struct Source {
        QString table, name, key;
    };
    std::optional<Source> source;
    switch (kind) {
    case CampaignSelection::Category:
        source = Source{QStringLiteral("CATEGOR"), QStringLiteral("NOME"), a::key};
        break;
    case CampaignSelection::Brand:
        source = Source{QStringLiteral("MARCHI"), QStringLiteral("NOME"), a::key};
        break;
    case CampaignSelection::Supplier:
        source =
            Source{QStringLiteral("FORNITOR"), QStringLiteral("NOME"), QStringLiteral("CODICE")};
        break;
    case CampaignSelection::SizeType:
        source = Source{a::sizeTypes, a::description, a::key};
        break;
    case CampaignSelection::Season:
        source = Source{c::seasons, c::seasonName, c::seasonName};
        break;
    case CampaignSelection::Articles:
        break;
    }
    if (source) {
        runReportingEngineErrors(m_shop.prompter(), [&] {
            db::Table t(m_shop.database());
            t.setTableName(source->table);
            t.setIndexName(source->name);
            t.open();
            for (t.first(); !t.eof(); t.next())
                m_value->addItem(t.asString(source->name).trimmed(), t.value(source->key));
        });
    }
    m_value->setEnabled(source.has_value());
    m_codes->setEnabled(kind == CampaignSelection::Articles);
    m_year->clear();
    m_year->addItem(QStringLiteral("Tutti"), 0);
    const int year = m_shop.clock().today().year();
    for (int y = year - 3; y <= year + 2; ++y)
        m_year->addItem(QString::number(y), y);
    m_year->setEnabled(kind == CampaignSelection::Season);
}

QSet<qint64> TFSaldi::typedArticles(QStringList *unknown) const {
    QSet<qint64> out;
    db::Table t(m_shop.database());
    t.setTableName(a::articles);
    t.setIndexName(a::code);
    t.open();
    static const QRegularExpression separators(QStringLiteral("[\\s,;]+"));
    for (const QString &code : m_codes->text().split(separators, Qt::SkipEmptyParts)) {
        // A line barcode names its article by its first six characters.
        const QString own = code.left(6);
        if (t.findKey(own) && t.asString(a::code).trimmed() == own)
            out.insert(t.asInteger(a::key));
        else if (unknown)
            *unknown << code;
    }
    return out;
}

Campaign TFSaldi::campaign() const {
    Campaign k;
    k.key = m_key;
    k.name = m_name->text().trimmed();
    k.first = m_first->date();
    k.last = m_last->date();
    k.selection = CampaignSelection(m_kind->currentData().toInt());
    if (k.selection == CampaignSelection::Season) {
        k.season = m_value->currentText();
        k.year = m_year->currentData().toInt();
    } else if (k.selection == CampaignSelection::Articles) {
        k.articles = typedArticles();
    } else {
        k.value = m_value->currentData().toLongLong();
    }
    const auto price = Formats::parseNumber(m_price->text());
    if (price && *price > 0)
        k.fixedPrice = Money::of(*price);
    else
        k.percent = Formats::parseNumber(m_percent->text()).value_or(0);
    return k;
}

void TFSaldi::showCampaign(const Campaign &k) {
    m_key = k.key;
    // Labels are printed for a saved campaign, at its prices.
    m_labelsButton->setEnabled(m_key != 0);
    m_name->setText(k.name);
    m_first->setDate(k.first);
    m_last->setDate(k.last);
    m_kind->setCurrentIndex(m_kind->findData(int(k.selection)));
    fillChoices();
    if (k.selection == CampaignSelection::Season) {
        m_value->setCurrentIndex(m_value->findText(k.season, Qt::MatchFixedString));
        m_year->setCurrentIndex(std::max(0, m_year->findData(k.year)));
    } else {
        m_value->setCurrentIndex(m_value->findData(k.value));
    }
    QStringList codes;
    if (!k.articles.isEmpty()) {
        runReportingEngineErrors(m_shop.prompter(), [&] {
            db::Table t(m_shop.database());
            t.setTableName(a::articles);
            t.setIndexName(a::key);
            t.open();
            QList<qint64> keys(k.articles.begin(), k.articles.end());
            std::sort(keys.begin(), keys.end());
            for (qint64 key : keys)
                if (t.findKey(key))
                    codes << t.asString(a::code).trimmed();
        });
    }
    m_codes->setText(codes.join(u' '));
    m_percent->setText(k.fixedPrice ? QString() : Formats::display(u"#.##", k.percent));
    m_price->setText(k.fixedPrice ? Formats::display(u",0.00", k.fixedPrice->toDouble())
                                  : QString());
}

void TFSaldi::rowChosen() {
    const int row = m_list->currentRow();
    if (row >= 0 && row < m_campaigns.size())
        showCampaign(m_campaigns.at(row));
}

void TFSaldi::BNuovoClick() {
    Campaign k;
    k.first = m_shop.clock().today();
    k.last = k.first;
    {
        const QSignalBlocker block(m_list);
        m_list->clearSelection();
    }
    showCampaign(k);
    m_percent->clear();
    m_name->setFocus();
}

void TFSaldi::BSalvaClick() {
    Campaign k = campaign();
    QStringList unknown;
    if (k.selection == CampaignSelection::Articles) {
        runReportingEngineErrors(m_shop.prompter(), [&] { typedArticles(&unknown); });
        if (!unknown.isEmpty()) {
            m_shop.prompter().error(
                QStringLiteral("Articoli non trovati: %1").arg(unknown.join(QStringLiteral(", "))));
            return;
        }
    }
    QString refusal;
    QString warnings;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            CampaignBook book(m_shop.database());
            const QList<ArticleFacts> all = book.articles();
            refusal = book.refusal(k, all);
            if (refusal.isEmpty())
                warnings = warningsText(SalePrices(m_shop.database()).preview(k, all));
        }))
        return;
    if (!refusal.isEmpty()) {
        m_shop.prompter().error(refusal);
        return;
    }
    if (!warnings.isEmpty() &&
        !m_shop.prompter().confirm(warnings + QStringLiteral("\r\rSalvare comunque la campagna?")))
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] { CampaignBook(m_shop.database()).save(k); });
    reload();
    for (int r = 0; r < m_campaigns.size(); ++r)
        if (m_campaigns.at(r).key == k.key)
            m_list->selectRow(r);
}

void TFSaldi::BEliminaClick() {
    if (m_key == 0)
        return;
    if (!m_shop.prompter().confirm(QStringLiteral("Eliminare la campagna selezionata?")))
        return;
    runReportingEngineErrors(m_shop.prompter(),
                             [&] { CampaignBook(m_shop.database()).remove(m_key); });
    reload();
    BNuovoClick();
}

void TFSaldi::BAnteprimaClick() {
    const Campaign k = campaign();
    QList<SalePrices::PreviewLine> lines;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            lines = SalePrices(m_shop.database())
                        .preview(k, CampaignBook(m_shop.database()).articles());
        }))
        return;
    QString text = QStringLiteral("La campagna comprende %1 articoli.").arg(lines.size());
    const QString warnings = warningsText(lines);
    if (!warnings.isEmpty())
        text += QStringLiteral("\r\r") + warnings;
    m_shop.prompter().information(text);
}

void TFSaldi::BEtichetteClick() {
    if (m_key == 0)
        return;
    const Prompter::Answer answer = m_shop.prompter().confirmWithCancel(
        QStringLiteral("Stampare solo le etichette relative agli articoli in giacenza?"));
    if (answer == Prompter::Answer::Cancel)
        return;
    const Campaign k = campaign();
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            CampaignBook book(m_shop.database());
            QSet<qint64> keys;
            for (const ArticleFacts &f : CampaignBook::covered(k, book.articles()))
                keys.insert(f.key);
            LabelPreparation(m_shop.database())
                .prepare(QString(), answer == Prompter::Answer::Yes, &keys);
        }))
        return;
    if (m_labels)
        m_labels(k.first);
    else
        reportNotYetAvailable(m_shop.prompter());
}

void TFSaldi::BDallArchivioClick() {
    if (!m_archiveFilter) {
        reportNotYetAvailable(m_shop.prompter());
        return;
    }
    const QString filter = m_archiveFilter();
    if (filter.isEmpty() &&
        !m_shop.prompter().confirm(QStringLiteral("L'archivio articoli non ha filtri: mettere "
                                                  "nella campagna tutti gli articoli?")))
        return;
    QStringList codes;
    if (!runReportingEngineErrors(m_shop.prompter(), [&] {
            codes = CampaignBook(m_shop.database()).codesListedBy(filter);
        }))
        return;
    m_kind->setCurrentIndex(m_kind->findData(int(CampaignSelection::Articles)));
    m_codes->setText(codes.join(u' '));
}

} // namespace corvale
