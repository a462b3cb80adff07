#pragma once

#include "sales/ReturnLinesTable.h"
#include "sales/SaleVoid.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QTableWidget;

namespace corvale {

class Shop;

// "RESO": the lines of a stored sale with the pieces still to be returned;
// the operator picks how many of each go back and how the customer is
// refunded (cash, card or a voucher), and the telematic register prints the
// return quoting the sale's receipt.
class TFResoBanco : public QDialog {
    Q_OBJECT
public:
    static inline const QStringList refundNames = tenderChoices;

    TFResoBanco(Shop &shop, SaleVoid &operation, qint64 key, const FiscalDocumentRef &quoted,
                const QList<ReturnableLine> &lines, QWidget *parent = nullptr);

    // The pieces chosen in the boxes.
    QList<ReturnPick> picks() const;
    PaymentType refund() const;
    QTableWidget &table() { return *m_table; }

    // "Tutto": every piece left; "Conferma": the return goes to the register.
    void BTuttoClick();
    void BConfermaClick();

private:
    void updateRefund();

    Shop &m_shop;
    SaleVoid &m_operation;
    qint64 m_key;
    FiscalDocumentRef m_quoted;
    QList<ReturnableLine> m_lines;
    ReturnLinesTable *m_table;
    QComboBox *m_refund;
    QLabel *m_total;
};

} // namespace corvale
