#pragma once

#include "sales/einvoice/CreditNote.h"

#include <QDialog>

class QTableWidget;

namespace corvale {

class Shop;

// "Nota di credito": which goods of a stored invoice come back. Lists the
// invoice's lines with what is left to give back; "Salva" stores the credit
// note for the quantities typed (all of each line to begin with).
class TFNotaCredito : public QDialog {
    Q_OBJECT
public:
    TFNotaCredito(Shop &shop, qint64 invoiceKey, QWidget *parent = nullptr);
    ~TFNotaCredito() override;

    // Reads the invoice's lines; false (the user was told why) when there is
    // nothing to give back.
    bool prepare();

    // The credit note stored; 0 when none.
    qint64 CreatedKey = 0;

    QTableWidget *grid() const { return m_grid; }
    void BSalvaClick();

private:
    Shop &m_shop;
    qint64 m_invoice;
    QList<CreditNote::InvoiceLine> m_lines;
    QTableWidget *m_grid;
};

} // namespace corvale
