#pragma once

#include "documents/DocumentWindow.h"
#include "widgets/OpenerWindow.h"

#include <memory>

class QCheckBox;
class QVBoxLayout;
class QComboBox;
class QModelIndex;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvale {

class ArticlePhoto;

class CounterSale;
class FieldBinding;
class LookupCombo;
class SaleCheckout;
class SaleGift;
class SaleSizePanel;
class SheetGrid;
class Shop;
class TFArcArt;
class TitleBand;

// The counter sale "VENDITA AL BANCO": one sale at the counter, its lines by code, by description
// or through the size panel, sent to the cash register and stored in VENDITE and ARCART_V, lowering
// the stock. Created anew by its opener for every sale, with DocumentKey 0 (new) or the key of a
// stored sale; when it hides it notifies its opener.
class TFBanco : public DocumentWindow, public OpenerWindow {
    Q_OBJECT
public:
    explicit TFBanco(Shop &shop, QWidget *parent = nullptr);
    ~TFBanco() override;

    qint64 DocumentKey = 0;
    // "Scontrino" on a sale without articles.
    static inline const QString noArticlesText =
        QStringLiteral("Nessun articolo da inoltrare al Reg. di Cassa!");
    bool IsNew = true;

    // The article archive "Articoli" opens in picking mode, over `panel`;
    // without one the button says that it is not there yet.
    void setArticleArchive(TFArcArt *archive, QWidget *panel);

    // A receipt is on its way to the register: the window refuses to close
    // and its opener should not replace it.
    bool isTransmitting() const;

    CounterSale &sale() { return *m_sale; }
    SheetGrid &grid() { return *m_grid; }
    SaleSizePanel &sizePanel() { return *m_panel; }
    SaleCheckout &checkout() { return *m_checkout; }
    SaleGift &gift() { return *m_gift; }

    void BScontrinoClick();
    void BStampaClick();
    void BSalvaClick();
    void BAnnullaClick();
    void BArticoliClick();
    void BEliminaClick();
    void BPrezzoScontatoClick();
    void BClientiClick();
    void computeTotals();

    // The archive's article, picked for the next free row.
    void takePickedArticle(qint64 key);
    void receiveNotification(int code) override;

private Q_SLOTS:
    void articlePicked(qint64 key, const QString &description);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildToolbar(QVBoxLayout *layout);
    void buildCustomerBand(QVBoxLayout *layout);
    void buildGrid(QVBoxLayout *layout);
    void buildFoot(QVBoxLayout *layout);
    void bindHeader();
    void beginSale();
    void codeEntered(const QString &code);
    void articleChosen(const QString &description);
    void openSizePanel();
    void closeSizePanel();
    void sizeChosen(int row, int position);
    void sizeCancelled();
    void cardEntered();
    void customerChosen();
    void showCustomer(qint64 code, const QString &card, qint64 points);
    void listCustomers();
    void discountChanged();
    double discount() const;
    void setBusy(bool busy);
    void transmissionEnded();
    // How many sales wait for the telematic register, said in the toolbar.
    void showWaiting();
    void paymentModeChanged();
    // A voucher's claim whose receipt did not go through goes back on it.
    void releaseVoucher();
    // Enter in the voucher box: what the voucher still holds, or why not.
    void voucherEntered();
    bool refuseWhileSending();
    void goToRow(int row);
    void cellEntered(const QModelIndex &current);
    int firstFreeRow() const;
    void showCodeBox();

    Shop &m_shop;
    std::unique_ptr<CounterSale> m_sale;
    std::unique_ptr<ArticlePhoto> m_photo;
    SaleCheckout *m_checkout;
    bool m_activated = false;
    bool m_customerLoading = false;
    bool m_busy = false;
    bool m_descriptionsListed = false;
    bool m_customersListed = false;
    TFArcArt *m_articleArchive = nullptr;
    QWidget *m_archivePanel = nullptr;
    FieldBinding *m_binding;
    TitleBand *m_band;
    QLineEdit *m_number;
    QLineEdit *m_date;
    QLineEdit *m_card;
    LookupCombo *m_customer;
    QLabel *m_points;
    SheetGrid *m_grid;
    SaleSizePanel *m_panel;
    QCheckBox *m_bank;
    // --- How the customer pays, and the lottery code ---
    QComboBox *m_payment;
    QLineEdit *m_cardPart;
    QLineEdit *m_lottery;
    QLineEdit *m_voucher;
    QLabel *m_voucherLeft;
    qint64 m_voucherClaim = 0; // the history line of the voucher part claimed
    // --- Gift receipt after the sale ---
    QCheckBox *m_giftBox;
    SaleGift *m_gift;
    QLabel *m_pieces;
    QLineEdit *m_discount;
    QLabel *m_total;
    QLabel *m_waiting;
    QList<QWidget *> m_toolbar; // waits while the size panel is open
    QList<QWidget *> m_heading; // waits while a receipt is sent
};

} // namespace corvale
