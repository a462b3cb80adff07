#include "purchasing/TFFornitori.h"

#include "catalogue/ContactColumns.h"
#include "catalogue/TableGrid.h"
#include "db/Table.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"
#include "widgets/CaptionBox.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QVBoxLayout>

namespace corvale {

TFFornitori::TFFornitori(Shop &shop, QWidget *parent)
    : ContactArchiveFrame(shop, QStringLiteral("TFFornitori"), QStringLiteral("Archivio Fornitori"),
                          false, parent)
    , m_table(std::make_unique<db::Table>(shop.database())) {
    m_search = new QLineEdit(&listBox());
    m_search->setObjectName(QStringLiteral("Cerca"));
    m_search->setMaxLength(30);
    listLayout().addWidget(m_search);
    m_table->setTableName(QStringLiteral("FORNITOR.DBF"));
    m_table->setIndexName(contactColumns::name);
    auto *grid = new TableGrid(*m_table, &listBox());
    grid->addColumn(contactColumns::name, QStringLiteral("Ragione Sociale"));
    grid->horizontalHeader()->setStretchLastSection(true);
    setGrid(grid);
    connect(m_search, &QLineEdit::textChanged, this, &TFFornitori::searchChanged);
}

TFFornitori::~TFFornitori() = default;

bool TFFornitori::listOpen() const {
    return m_table->isOpen();
}

bool TFFornitori::onContact() const {
    return m_table->isOpen() && m_table->recordNumber() != 0;
}

void TFFornitori::activate() {
    runReportingEngineErrors(shop().prompter(), [&] {
        m_table->close();
        m_table->open();
        m_search->blockSignals(true);
        m_search->clear();
        m_search->blockSignals(false);
        searchChanged(QString());
    });
    m_search->setFocus();
}

void TFFornitori::closeList() {
    m_table->close();
}

void TFFornitori::searchChanged(const QString &text) {
    if (!m_table->isOpen())
        return;
    m_table->setRange(text, text + QLatin1Char('z'));
    m_table->first();
    grid().reload();
}

void TFFornitori::BEliminaClick() {
    if (!hasSelection())
        return;
    Prompter &ask = shop().prompter();
    if (!ask.confirm(QStringLiteral("Eliminare il Fornitore selezionato?")))
        return;
    runReportingEngineErrors(ask, [&] {
        const qint64 code = m_table->asInteger(contactColumns::code);
        db::Table articles(shop().database());
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
        grid().reload();
    });
}

} // namespace corvale
