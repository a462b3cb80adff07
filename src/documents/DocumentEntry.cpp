#include "documents/DocumentEntry.h"

#include "catalogue/ArticleColumns.h"
#include "db/Table.h"
#include "documents/ArticleList.h"
#include "documents/Colours.h"
#include "documents/LineSheet.h"
#include "documents/SheetColumns.h"
#include "documents/SheetGrid.h"
#include "documents/SizePanel.h"
#include "platform/EngineError.h"
#include "shell/Shop.h"

namespace corvale {

DocumentEntry::DocumentEntry(Shop &shop, LineSheet &sheet, ArticleList &articles, SheetGrid &grid,
                             SizePanel &panel, QObject *parent)
    : QObject(parent)
    , m_shop(shop)
    , m_sheet(sheet)
    , m_articles(articles)
    , m_grid(grid)
    , m_panel(panel) {
    connect(&m_grid, &SheetGrid::articleChosen, this, &DocumentEntry::chooseArticle);
    connect(&m_panel, &SizePanel::loadClicked, this, &DocumentEntry::loadSizes);
    connect(&m_panel, &SizePanel::cancelClicked, this, &DocumentEntry::cancelSizes);
    connect(&m_panel, &SizePanel::newColourClicked, this, &DocumentEntry::newColour);
}

void DocumentEntry::showPanel(bool on) {
    for (QWidget *w : m_controls)
        w->setEnabled(!on);
    m_grid.setEnabled(!on);
    if (on) {
        m_grid.hideSearch();
        m_panel.adjustSize();
        const QRect area = m_grid.geometry();
        m_panel.move(area.center() - QPoint(m_panel.width() / 2, m_panel.height() / 2));
        m_panel.show();
        m_panel.raise();
    } else {
        m_panel.hide();
        m_grid.setFocus();
    }
}

void DocumentEntry::chooseArticle(const QString &description) {
    if (!m_sheet.table().isOpen())
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (!m_articles.findByDescription(description)) {
            m_shop.prompter().error(QStringLiteral("Articolo non trovato!"));
            return;
        }
        db::Table &article = m_articles.table();
        m_sheet.takeArticle(article);
        const SizeType sizes =
            loadSizeType(m_shop.database(), article.asInteger(articleColumns::sizeType));
        m_panel.begin(sizes.name, sizes.labels, article.asString(articleColumns::brand),
                      article.asString(articleColumns::typology),
                      article.asString(articleColumns::material));
        showPanel(true);
    });
}

void DocumentEntry::loadSizes() {
    const SizeEntry &entry = m_panel.entry();
    const auto lines = entry.lines(m_sheet.table().asString(sheet::BARCODE));
    if (lines.isEmpty())
        return;
    m_sheet.TotalsSuspended = true;
    runReportingEngineErrors(m_shop.prompter(),
                             [&] { m_sheet.writeSizeLines(lines, entry.colourName()); });
    showPanel(false);
    m_grid.reload();
    m_sheet.TotalsSuspended = false;
    Q_EMIT linesChanged();
}

void DocumentEntry::cancelSizes() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (m_sheet.table().state() != db::Table::State::Browse)
            m_sheet.table().cancel();
    });
    showPanel(false);
    m_grid.reload();
    Q_EMIT linesChanged();
}

void DocumentEntry::newColour() {
    const auto typed = m_shop.prompter().input(QStringLiteral("Nuovo Colore"),
                                               QStringLiteral("Inserisci la voce"));
    if (!typed)
        return;
    runReportingEngineErrors(m_shop.prompter(), [&] {
        const qint64 number = addColour(m_shop.database(), m_shop.routines(), *typed);
        if (number > 0)
            m_panel.reloadColours(number);
    });
}

void DocumentEntry::deleteLine() {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        if (!m_sheet.table().isOpen() || !m_sheet.deleteCurrentRow())
            return;
        m_grid.reload();
        Q_EMIT linesChanged();
    });
}

void DocumentEntry::takeNewArticle(const QString &description) {
    runReportingEngineErrors(m_shop.prompter(), [&] {
        m_articles.open();
        m_grid.setArticleDescriptions(m_articles.descriptions());
        if (description.isEmpty())
            return;
        // The new article goes on a free row.
        db::Table &rows = m_sheet.table();
        m_sheet.postPending();
        if (m_sheet.currentRowHasArticle()) {
            while (!rows.eof() && m_sheet.currentRowHasArticle())
                rows.next();
            if (rows.eof())
                m_sheet.appendBlankRows(1);
        }
        m_grid.reload();
        m_grid.openSearch(description);
    });
    if (!description.isEmpty())
        chooseArticle(description);
}

} // namespace corvale
