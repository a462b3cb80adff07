#pragma once

#include "documents/DocumentKind.h"
#include "documents/DocumentWindow.h"
#include "documents/PeriodFilter.h"
#include "widgets/OpenerWindow.h"

#include <memory>
#include <optional>

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

// The frame every archive of documents shares: the title band; the toolbar
// with the archive's buttons and "Uscita" on the right; the period band (a
// caption, "< Qualsiasi >", "Anno Corrente", "Mese Corrente", "Dal... Al..."
// with its "DAL" and "AL" boxes); the list of documents ("Lista") with its sum
// ("Somma"); the lines of the selected one ("Dettaglio") in a captioned box;
// and the refresh when a document window it opened reports back. Each archive
// adds its columns and says how it selects, sums, opens, deletes and prints
// its documents.
class ArchiveFrame : public DocumentWindow, public OpenerWindow {
    Q_OBJECT
public:
    struct Frame {
        QString heading;       // "ARCHIVIO ACQUISTI"
        QString periodCaption; // the period box's caption: "Periodo", "Data"
        QString linesCaption;  // "DETTAGLIO ACQUISTO"
        DocumentKind kind;     // the header and line tables
    };

    ArchiveFrame(Shop &shop, Frame frame, QWidget *parent = nullptr);
    ~ArchiveFrame() override;

    db::Table &headers() { return *m_headers; }
    db::Table &lines() { return *m_lines; }
    TableGrid &list() { return *m_list; }
    TableGrid &detail() { return *m_detail; }
    double sum() const { return m_sum; }
    PeriodFilter::Period period() const;

    // Lists the documents of the period, goes to the first one and
    // recomputes the sum. False (with a message) when a date is not valid.
    virtual bool applyPeriod() = 0;
    // The key of the selected document; 0 when the list is empty.
    qint64 selectedKey();

    void receiveNotification(int code) override;
    void BUscitaClick();

protected:
    Shop &shop() { return m_shop; }
    const DocumentKind &kind() const { return m_frame.kind; }

    // Adds a toolbar button after the buttons added so far; a widget put on
    // the toolbar with placeAfterButtons() stays after every one of them.
    QPushButton *addButton(const QString &caption, const QString &hint = {});
    void placeAfterButtons(QWidget *widget);
    // The band holding the period controls, for an archive's own choices;
    // its last item is the stretch.
    QHBoxLayout *band() { return m_band; }

    // Chooses the period; the date boxes show for a range only. The period
    // is applied too.
    void setPeriod(PeriodFilter::Period period);
    void setDates(const QDate &from, const QDate &to);
    QString fromText() const;
    QString toText() const;
    struct DateKeys {
        QString from;
        QString to;
    };
    // The range's date keys (empty ones for any other period); nothing, after
    // telling which date is not valid, when a date cannot be read.
    std::optional<DateKeys> rangeKeys();

    // Called when the window opens: the archive sets its period and shows
    // its list.
    virtual void activate() = 0;
    // Works out the sum of the listed documents (setSum shows it).
    virtual void computeSum() = 0;
    void setSum(double sum);

    // Opens the header and line tables, the lines following the header. The
    // engine's failure has been shown when false.
    bool openTables();
    void closeTables();
    // Re-reads the list and the lines after a change and recomputes the sum.
    void refreshList();
    void showEvent(QShowEvent *event) override;

private:
    void periodChanged();

    Shop &m_shop;
    Frame m_frame;
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
    double m_sum = 0;
};

} // namespace corvale
