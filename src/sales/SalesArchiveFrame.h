#pragma once

#include "documents/DocumentKind.h"
#include "documents/DocumentWindow.h"
#include "documents/PeriodFilter.h"
#include "sales/SalesArchivePrintout.h"
#include "sales/SalesArchiveSelection.h"
#include "widgets/OpenerWindow.h"

#include <QDate>
#include <memory>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvale {

class Shop;
class TableGrid;

namespace db {
class Table;
}

// The frame the sales and invoice archives share: the period band ("Data"
// with "< Qualsiasi >", "Anno Corrente", "Mese Corrente", "Dal... Al..." and
// the "DAL" and "AL" boxes), the list of documents with its sum, the lines of
// the selected one, deleting with the stock given back, the printed list and
// the refresh when a document window it opened reports back. Each archive
// says which window opens its documents and what it adds to the toolbar.
class SalesArchiveFrame : public DocumentWindow, public OpenerWindow {
    Q_OBJECT
public:
    struct Column {
        Column(QString field, QString title, QString format = {}, int width = 0, bool bold = false)
            : field(std::move(field))
            , title(std::move(title))
            , format(std::move(format))
            , width(width)
            , bold(bold) {}
        QString field;
        QString title;
        QString format;
        int width = 0;
        bool bold = false;
    };
    struct Setup {
        QString heading;     // "ARCHIVIO VENDITE"
        QString windowTitle; // "Archivio Vendite"
        QString newHint;     // "Nuova Vendita"
        QString editHint;    // "Modifica la Vendita selezionata"
        QString deleteHint;  // "Elimina la Vendita selezionata"
        QString deleteQuestion;
        DocumentKind kind;
        SalesArchivePrintout::Layout layout;
        QList<Column> listColumns;
        QList<Column> detailColumns;
        int stretchedDetailColumn = 0; // takes the width the others leave
    };

    SalesArchiveFrame(Shop &shop, Setup setup, QWidget *parent = nullptr);
    ~SalesArchiveFrame() override;

    db::Table &headers() { return *m_headers; }
    TableGrid &list() { return *m_list; }
    TableGrid &detail() { return *m_detail; }
    double sum() const { return m_sum; }
    PeriodFilter::Period period() const;
    const SalesArchiveSelection &selection() const { return m_selection; }

    // Lists the documents of the period meeting the condition, goes to the
    // first one and recomputes the sum. Ignored while busy; false (with a
    // message) when a date is not valid.
    bool applyPeriod();
    // The key of the selected document; 0 when the list is empty.
    qint64 selectedKey();

    void receiveNotification(int code) override;

    void BNuovaClick();
    void BModificaClick();
    void BEliminaClick();
    void BStampaClick();
    void BUscitaClick();

protected:
    Shop &shop() { return m_shop; }
    // Opens the document `key` (0: a new one) in the window of this archive.
    virtual void openDocument(qint64 key) = 0;
    // Sets the period band and the condition for a new showing; the period is
    // applied afterwards.
    virtual void opening() = 0;
    // The tag the list is in: MYDATA unless an archive orders otherwise.
    virtual QString orderTag() const;

    QDate today() const { return m_today; }
    bool busy() const { return m_busy; }
    void setCondition(const QString &condition) { m_condition = condition; }
    QString condition() const { return m_condition; }
    void setPeriod(PeriodFilter::Period period);
    void setDates(const QDate &from, const QDate &to);
    // Adds a toolbar button before "Stampa".
    QPushButton *addButton(const QString &caption, const QString &hint = {});
    // The band holding the period controls, for an archive's own choices.
    QHBoxLayout *band() { return m_band; }
    // Re-reads the list and the lines after a change and recomputes the sum.
    void refreshList();
    void showEvent(QShowEvent *event) override;

private:
    void FormActivate();
    void periodChanged();
    void computeSum();
    void closeTables();

    Shop &m_shop;
    Setup m_setup;
    std::unique_ptr<db::Table> m_headers;
    std::unique_ptr<db::Table> m_lines;
    TableGrid *m_list;
    TableGrid *m_detail;
    QComboBox *m_period;
    QLineEdit *m_from;
    QLineEdit *m_to;
    QLabel *m_fromCaption;
    QLabel *m_toCaption;
    QLabel *m_sumLabel;
    QHBoxLayout *m_toolbar;
    QHBoxLayout *m_band;
    int m_buttons = 0;
    SalesArchiveSelection m_selection;
    QString m_condition;
    QDate m_today;
    double m_sum = 0;
    bool m_busy = true;
};

} // namespace corvale
