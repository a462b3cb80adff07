#pragma once

#include "documents/ArchiveFrame.h"
#include "sales/SalesArchivePrintout.h"
#include "sales/SalesArchiveSelection.h"

#include <QDate>

namespace corvale {

// The sales and invoice archives on the archive frame (period band captioned
// "Data"): "Nuova", "Modifica", "Elimina" and, after the archive's own
// buttons, "Stampa"; the list and lines in the columns each archive gives;
// the documents selected through an index range (SalesArchiveSelection);
// deleting with the stock given back; the printed list. Each archive says
// which window opens its documents and what it adds to the toolbar.
class SalesArchiveFrame : public ArchiveFrame {
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

    const SalesArchiveSelection &selection() const { return m_selection; }

    // Lists the documents of the period meeting the condition, goes to the
    // first one and recomputes the sum. Ignored while busy; false (with a
    // message) when a date is not valid.
    bool applyPeriod() override;

    void BNuovaClick();
    void BModificaClick();
    void BEliminaClick();
    void BStampaClick();

protected:
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
    void activate() override;
    void computeSum() override;

private:
    Setup m_setup;
    SalesArchiveSelection m_selection;
    QString m_condition;
    QDate m_today;
    bool m_busy = true;
};

} // namespace corvale
