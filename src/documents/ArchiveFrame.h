#pragma once

#include "documents/DocumentKind.h"
#include "documents/DocumentWindow.h"
#include "documents/PeriodFilter.h"
#include "widgets/OpenerWindow.h"

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

// The frame the purchase, return and order archives share: the period box
// ("< Qualsiasi >", "Anno Corrente", "Mese Corrente", "Dal... Al..." with its
// "DAL" and "AL" boxes), the order box ("Data", "Fornitore"), the list of
// documents with its sum, the lines of the selected one, the printed list,
// and the refresh when a document window it opened reports back. Each archive
// adds what opening, editing and deleting a document mean for it.
class ArchiveFrame : public DocumentWindow, public OpenerWindow {
    Q_OBJECT
public:
    struct Setup {
        QString heading;      // "ARCHIVIO ACQUISTI"
        QString linesCaption; // "DETTAGLIO ACQUISTO"
        QString numberField;  // the "N° Doc." column: NUMCAR or NUMDOC
        QString noun;         // "ACQUISTI", in the printed titles
        DocumentKind kind;
        // The list's number column ("Numero" for orders) and the lines' first column.
        QString numberCaption = QStringLiteral("N° Doc.");
        QString articleCaption = QStringLiteral("Articolo");
    };

    ArchiveFrame(Shop &shop, Setup setup, QWidget *parent = nullptr);
    ~ArchiveFrame() override;

    db::Table &headers() { return *m_headers; }
    db::Table &lines() { return *m_lines; }
    TableGrid &list() { return *m_list; }
    TableGrid &detail() { return *m_detail; }
    double sum() const { return m_sum; }
    PeriodFilter::Period period() const;

    // A condition joined to the period's (the article search's "( FINDV )").
    void setExtraCondition(const QString &condition) { m_extra = condition; }
    QString extraCondition() const { return m_extra; }
    // Applies the period and the extra condition, goes to the first document
    // and recomputes the sum. False (with a message) when a date is not valid.
    bool applyFilter();
    // The key of the selected document; 0 when the list is empty.
    qint64 selectedKey();

    void receiveNotification(int code) override;

    virtual void BNuovoClick() = 0;
    virtual void BModificaClick() = 0;
    virtual void BEliminaClick() = 0;
    void BStampaClick();
    void BUscitaClick();

protected:
    Shop &shop() { return m_shop; }
    const Setup &setup() const { return m_setup; }
    // Adds a toolbar button before "Uscita".
    QPushButton *addButton(const QString &caption);
    void showEvent(QShowEvent *event) override;
    // Called when the window opens, before the list is first shown.
    virtual void opening() {}
    // Re-reads the list and the lines after a change and recomputes the sum.
    void refreshList();

private:
    void FormActivate();
    void orderChanged();
    void periodChanged();
    void computeSum();
    void closeTables();

    Shop &m_shop;
    Setup m_setup;
    std::unique_ptr<db::Table> m_headers;
    std::unique_ptr<db::Table> m_lines;
    TableGrid *m_list;
    TableGrid *m_detail;
    QComboBox *m_order;
    QComboBox *m_period;
    QLineEdit *m_from;
    QLineEdit *m_to;
    QLabel *m_fromCaption;
    QLabel *m_toCaption;
    QLabel *m_sumLabel;
    QHBoxLayout *m_toolbar;
    int m_buttons = 0;
    QString m_extra;
    double m_sum = 0;
    bool m_opening = false;
};

} // namespace corvale
