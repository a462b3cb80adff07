#pragma once

#include "documents/ArchiveFrame.h"

class QComboBox;

namespace corvale {

// The archives of the documents exchanged with suppliers (receipts, returns,
// orders) on the archive frame: "Nuovo", "Modifica", "Elimina", "Stampa"; the
// order box ("Data", "Fornitore") before the period; the list by supplier,
// date, number, pieces and total; the lines by article, brand, colour, size,
// quantity and price; and the printed list. The archive opens on the current
// month, by supplier. Each archive adds what opening, editing and deleting a
// document mean for it.
class SupplierArchiveFrame : public ArchiveFrame {
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

    SupplierArchiveFrame(Shop &shop, Setup setup, QWidget *parent = nullptr);
    ~SupplierArchiveFrame() override;

    // A condition joined to the period's (the article search's "( FINDV )").
    void setExtraCondition(const QString &condition) { m_extra = condition; }
    QString extraCondition() const { return m_extra; }
    // Applies the period and the extra condition, goes to the first document
    // and recomputes the sum. False (with a message) when a date is not valid.
    bool applyFilter();
    bool applyPeriod() override;

    virtual void BNuovoClick() = 0;
    virtual void BModificaClick() = 0;
    virtual void BEliminaClick() = 0;
    void BStampaClick();

protected:
    const Setup &setup() const { return m_setup; }
    // Called when the window opens, before the list is first shown.
    virtual void opening() {}
    void activate() override;
    void computeSum() override;

private:
    void orderChanged();

    Setup m_setup;
    QComboBox *m_order;
    QString m_extra;
    bool m_opening = false;
};

} // namespace corvale
