#include "documents/SheetGrid.h"

#include "db/Table.h"
#include "documents/SheetColumns.h"
#include "widgets/TableModel.h"

#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>

namespace corvale {

SheetGrid::SheetGrid(db::Table &sheet, QWidget *parent)
    : QTableView(parent)
    , m_model(new TableModel(sheet, this)) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    verticalHeader()->setDefaultSectionSize(20);
    m_search = new QComboBox(viewport());
    m_search->setObjectName(QStringLiteral("CercaArticolo"));
    m_search->setEditable(true);
    m_search->setInsertPolicy(QComboBox::NoInsert);
    m_search->completer()->setCompletionMode(QCompleter::PopupCompletion);
    m_search->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    m_search->hide();
    m_code = new QLineEdit(viewport());
    m_code->setObjectName(QStringLiteral("CercaCodice"));
    m_code->setMaxLength(13);
    m_code->hide();
    setModel(m_model);
    connect(m_code, &QLineEdit::returnPressed, this, &SheetGrid::enterCode);
    connect(m_search, &QComboBox::activated, this, [this](int) { chooseTyped(); });
    connect(m_search->lineEdit(), &QLineEdit::returnPressed, this, &SheetGrid::chooseTyped);
}

int SheetGrid::addStandardColumns() {
    const int code = addColumn(sheet::BARCODE, QStringLiteral("Codice"));
    setArticleColumn(addColumn(sheet::DESCRIZION, QStringLiteral("Articolo")));
    addColumn(sheet::MARCHIO, QStringLiteral("Marchio"));
    addColumn(sheet::cColore, QStringLiteral("Colore"));
    addColumn(sheet::fTAGLIA, QStringLiteral("Taglia"));
    addColumn(sheet::QUANTITA, QStringLiteral("Quantità"), QStringLiteral("#"), true);
    addColumn(sheet::PREZZO, QStringLiteral("Prezzo"), QStringLiteral(",0.00"), true);
    return code;
}

int SheetGrid::addColumn(const QString &field, const QString &title, const QString &format,
                         bool editable) {
    const int c = m_model->addColumn(field, title, format);
    m_model->setColumnEditable(c, editable);
    return c;
}

void SheetGrid::setArticleDescriptions(const QStringList &descriptions) {
    const QSignalBlocker block(m_search);
    const QString typed = m_search->currentText();
    m_search->clear();
    m_search->addItems(descriptions);
    m_search->setCurrentIndex(-1);
    m_search->setEditText(typed);
}

void SheetGrid::reload() {
    m_model->reload();
    const int row = m_model->currentRow();
    if (row >= 0) {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        const QSignalBlocker block(selectionModel());
        setCurrentIndex(m_model->index(row, column));
    }
}

bool SheetGrid::rowHasArticle(int row) const {
    if (row < 0 || row >= m_model->rowCount())
        return false;
    const int c = m_model->columnOf(sheet::DESCRIZION);
    return c >= 0 && !m_model->data(m_model->index(row, c)).toString().trimmed().isEmpty();
}

void SheetGrid::openSearch(const QString &text) {
    placeSearch();
    m_search->show();
    m_search->raise();
    m_search->setFocus();
    m_search->setEditText(text);
}

void SheetGrid::hideSearch() {
    m_search->hide();
    m_code->hide();
}

void SheetGrid::placeSearch() {
    placeOver(m_search, m_articleColumn);
}

void SheetGrid::placeOver(QWidget *box, int column) {
    const QModelIndex index = currentIndex();
    if (index.isValid())
        box->setGeometry(visualRect(m_model->index(index.row(), column)));
}

void SheetGrid::enterCode() {
    const QString code = m_code->text().trimmed();
    m_code->hide();
    m_code->clear();
    setFocus();
    if (!code.isEmpty())
        Q_EMIT codeEntered(code);
}

void SheetGrid::chooseTyped() {
    // Enter both activates the item and ends the editing: one choice.
    if (!m_search->isVisible())
        return;
    const QString text = m_search->currentText().trimmed();
    if (text.isEmpty())
        return;
    m_search->hide();
    Q_EMIT articleChosen(text);
}

void SheetGrid::keyPressEvent(QKeyEvent *event) {
    const QModelIndex index = currentIndex();
    if (index.isValid() && index.column() == m_articleColumn && !rowHasArticle(index.row()) &&
        !event->text().isEmpty() && event->key() != Qt::Key_Tab && event->text().at(0).isPrint()) {
        openSearch(event->text());
        return;
    }
    if (index.isValid() && m_codeColumn >= 0 && index.column() == m_codeColumn &&
        !rowHasArticle(index.row()) && !event->text().isEmpty() && event->key() != Qt::Key_Tab &&
        event->text().at(0).isPrint()) {
        placeOver(m_code, m_codeColumn);
        m_code->show();
        m_code->raise();
        m_code->setFocus();
        m_code->setText(event->text());
        return;
    }
    QTableView::keyPressEvent(event);
}

void SheetGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid() && current.row() != m_model->currentRow())
        m_model->setCurrentRow(current.row());
    if (current.isValid() && current.column() == m_articleColumn && !rowHasArticle(current.row())) {
        placeSearch();
        m_search->show();
        m_search->setEditText(QString());
    } else {
        m_search->hide();
    }
    if (m_code->isVisible() &&
        (!current.isValid() || current.column() != m_codeColumn || current.row() != previous.row()))
        m_code->hide();
    if (previous.isValid() && current != previous)
        Q_EMIT cellLeft();
}

void SheetGrid::resizeEvent(QResizeEvent *event) {
    QTableView::resizeEvent(event);
    if (m_search->isVisible())
        placeSearch();
}

} // namespace corvale
