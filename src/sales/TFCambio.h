#pragma once

#include "sales/ReturnLinesTable.h"
#include "sales/SaleExchange.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace corvale {

class SaleSizePanel;
class Shop;

// "CAMBIO TAGLIA": the pieces of a sale of today going back, the new pieces
// (scanned, or chosen from the stock of an article or of the piece going
// back) and the difference paid or refunded; "Conferma" sends the return and
// the new sale to the telematic register as one exchange. When the sale
// does not go through after the return, "Riprova" sends it again and
// "Rinuncia" leaves the return alone.
class TFCambio : public QDialog {
    Q_OBJECT
public:
    static inline const QStringList modeNames = tenderChoices;
    static inline const QString notFoundText = QStringLiteral("Articolo inesistente!");
    static inline const QString busyText =
        QStringLiteral("Attendere la fine del cambio sul registratore di cassa.");

    TFCambio(Shop &shop, SaleExchange &exchange, qint64 key, const FiscalDocumentRef &quoted,
             const QList<ReturnableLine> &lines, QWidget *parent = nullptr);

    QList<ReturnPick> picks() const;
    const QList<SheetRow> &newRows() const { return m_rows; }
    PaymentType mode() const;
    QTableWidget &table() { return *m_table; }
    QTableWidget &newTable() { return *m_new; }
    SaleSizePanel &sizePanel() { return *m_panel; }

    void codeEntered();
    // "Stesso articolo": the stock of the article of the piece going back
    // that is selected (the first one chosen when none is).
    void BStessoClick();
    void BTogliClick();
    void BConfermaClick();
    void BRiprovaClick();
    void BRinunciaClick();

    void reject() override;

private:
    void showStock(qint64 article);
    void sizeChosen(int row, int position);
    void addRow(const SheetRow &row);
    void update();
    void stageChanged(SaleExchange::Stage stage);
    void exchangeFinished(bool completed);

    Shop &m_shop;
    SaleExchange &m_exchange;
    qint64 m_key;
    FiscalDocumentRef m_quoted;
    QList<ReturnableLine> m_lines;
    QList<SheetRow> m_rows;
    SaleExchange::ArticleStock m_stock;
    ReturnLinesTable *m_table;
    QLineEdit *m_code;
    SaleSizePanel *m_panel;
    QTableWidget *m_new;
    QLabel *m_back;
    QLabel *m_newTotal;
    QLabel *m_difference;
    QComboBox *m_mode;
    QLineEdit *m_voucher;
    QPushButton *m_confirm;
    QPushButton *m_retry;
    QPushButton *m_giveUp;
    QList<QWidget *> m_editing; // waits while the register works
};

} // namespace corvale
