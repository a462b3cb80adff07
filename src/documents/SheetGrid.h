#pragma once

#include <QTableView>

class QComboBox;
class QLineEdit;

namespace corvale {

class TableModel;

namespace db {
class Table;
}

// The grid of a document window over its line sheet, with the article search
// laid over the "Articolo" cell of a row that has no article yet: typing in
// that column (anything but Tab) opens the drop-down with the typed text, and
// choosing an entry (or Enter) hands its description over. A window that
// takes scanned or typed codes names a code column too: typing there on a row
// without an article opens the code box, and Enter hands the code over.
class SheetGrid : public QTableView {
    Q_OBJECT
public:
    SheetGrid(db::Table &sheet, QWidget *parent = nullptr);

    TableModel &model() const { return *m_model; }
    int addColumn(const QString &field, const QString &title, const QString &format = {},
                  bool editable = false);
    // The columns every document's sheet opens with: "Codice", "Articolo",
    // "Marchio", "Colore", "Taglia", then "Quantità" and "Prezzo", which the
    // user edits. Returns the code column; the article column is set.
    int addStandardColumns();
    // The column of the article's description, where the search lies.
    void setArticleColumn(int column) { m_articleColumn = column; }
    int articleColumn() const { return m_articleColumn; }
    void setArticleDescriptions(const QStringList &descriptions);
    QComboBox *searchBox() const { return m_search; }
    // The column of the code box; -1 (the default) offers none.
    void setCodeColumn(int column) { m_codeColumn = column; }
    QLineEdit *codeBox() const { return m_code; }

    // Re-reads the sheet and selects the handle's current row.
    void reload();
    // Opens the search box over the current cell, with `text` typed into it.
    void openSearch(const QString &text = {});
    void hideSearch();

Q_SIGNALS:
    void articleChosen(const QString &description);
    void codeEntered(const QString &code);
    // The user left a column or a row: the window recomputes its totals.
    void cellLeft();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool rowHasArticle(int row) const;
    void placeSearch();
    void chooseTyped();
    void enterCode();
    void placeOver(QWidget *box, int column);

    TableModel *m_model;
    QComboBox *m_search;
    QLineEdit *m_code;
    int m_articleColumn = 1;
    int m_codeColumn = -1;
};

} // namespace corvale
