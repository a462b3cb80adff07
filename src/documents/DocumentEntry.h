#pragma once

#include <QList>
#include <QObject>

class QWidget;

namespace corvale {

class ArticleList;
class LineSheet;
class SheetGrid;
class Shop;
class SizePanel;

// How a document window's lines are entered, the same in the receipt, the
// return and the order: an article chosen in the grid's search opens the size
// panel (the window's other controls wait meanwhile), "Carica" writes one row
// per size with a quantity, "Annulla" drops the row, "Nuovo" adds a colour;
// "Elimina" deletes the current line; a new article goes on a free row.
class DocumentEntry : public QObject {
    Q_OBJECT
public:
    DocumentEntry(Shop &shop, LineSheet &sheet, ArticleList &articles, SheetGrid &grid,
                  SizePanel &panel, QObject *parent = nullptr);

    // Controls disabled while the size panel is open.
    void setWindowControls(const QList<QWidget *> &controls) { m_controls = controls; }

    void chooseArticle(const QString &description);
    // "Carica": nothing typed leaves the panel open.
    void loadSizes();
    void cancelSizes();
    void newColour();
    void deleteLine();
    // Re-reads the article list and, for a new article's description, puts
    // it on a free row and chooses it.
    void takeNewArticle(const QString &description);
    void showPanel(bool on);

Q_SIGNALS:
    // The lines changed: the window recomputes its totals.
    void linesChanged();

private:
    Shop &m_shop;
    LineSheet &m_sheet;
    ArticleList &m_articles;
    SheetGrid &m_grid;
    SizePanel &m_panel;
    QList<QWidget *> m_controls;
};

} // namespace corvale
