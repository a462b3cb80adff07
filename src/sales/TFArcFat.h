#pragma once

#include "sales/SalesArchiveFrame.h"

#include <QPointer>

class QComboBox;
class QPushButton;

namespace corvale {

class TFFattura;

namespace db {
class Table;
}

// "ARCHIVIO FATTURE": the invoices of a period by date or by customer, with
// their lines, and the doors to a new or stored invoice (opened in the same
// panel as this window), to deleting one and to the printed list.
class TFArcFat : public SalesArchiveFrame {
    Q_OBJECT
public:
    explicit TFArcFat(Shop &shop, QWidget *parent = nullptr);
    ~TFArcFat() override;

    // The invoice window opened last, while it exists.
    TFFattura *invoiceWindow() const;
    // Opens the invoice `key` (0: a new one) in this archive's panel, telling
    // `opener` (this archive when none) when it closes. There is one invoice
    // window at a time, whoever opens it: the previous one goes.
    void openInvoice(qint64 key, OpenerWindow *opener = nullptr);

    // Where the electronic invoices go: archivio/FE of the program folder.
    QString einvoiceFolder();

    // "Fattura elettronica": the file of the selected invoice or credit note.
    void BFatturaElettronicaClick();
    // "Nota di credito": goods of the selected invoice brought back.
    void BNotaCreditoClick();
    // "Inviata": the user sent the selected invoice's file.
    void BInviataClick();
    // "Notifiche SdI": the exchange system's answers saved in a folder.
    void BNotificheClick();
    // "Da consegnare": only the invoices of the period not yet delivered.
    void BDaConsegnareClick();

protected:
    void openDocument(qint64 key) override;
    void opening() override;
    QString orderTag() const override;

private:
    void orderChanged();
    void calculate(db::Table &header);

    QComboBox *m_order;
    QPushButton *m_undelivered;
    QPointer<TFFattura> m_invoice;
};

} // namespace corvale
