#pragma once

#include "sales/SaleVoid.h"
#include "sales/SalesArchiveFrame.h"

#include <QPointer>
#include <functional>
#include <optional>

namespace corvale {

class SaleExchange;
class SaleGift;
class TFArcArt;
class TFBuoni;
class TFBanco;

// "ARCHIVIO VENDITE": the counter sales of a period with their lines, the
// search of the sales holding an article code, the sales chart, and the doors
// to a new or stored sale (opened in the same panel as this window), to
// deleting one and to the printed list. "Stato RT" marks the sales stored
// without the telematic register, which "Non fiscalizzate" lists.
class TFArcVen : public SalesArchiveFrame {
    Q_OBJECT
public:
    static inline const QString voucherRefundText = QStringLiteral(
        "Rimborsare il cliente con un buono?\r(No: restituire l'importo come è stato pagato)");

    explicit TFArcVen(Shop &shop, QWidget *parent = nullptr);
    ~TFArcVen() override;

    // The sale window opened last, while it exists.
    TFBanco *saleWindow() const;
    // Opens the sale `key` (0: a new one) in this archive's panel, telling
    // `opener` (this archive when none) when it closes. There is one sale
    // window at a time, whoever opens it: the previous one goes.
    void openSale(qint64 key, OpenerWindow *opener = nullptr);
    // What "Grafico" opens: the takings chart of the counter sales.
    void setChartWindow(std::function<void()> open);
    // The article archive the sale's "Articoli" picks from, shown in `panel`.
    void setArticleArchive(TFArcArt *archive, QWidget *panel);

    void BCercaClick();
    void BGraficoClick();
    // "Annullo": the telematic register voids the selected sale's receipt,
    // stored as its negative copy.
    void BAnnulloClick();
    // "Reso": some or all of the selected sale's pieces back, the telematic
    // register printing the return; stored as a sale with negative amounts.
    void BResoClick();
    // "Buoni": the store-credit vouchers and their history.
    void BBuoniClick();
    // "Non fiscalizzate": the sales stored without the telematic register.
    void BNonFiscalizzateClick();
    SaleVoid &saleVoid() { return *m_void; }
    // --- Same-day size exchange and gift receipt ---
    // "Cambio": the selected sale of today's pieces exchanged for others.
    void BCambioClick();
    // "Cortesia": the gift receipt of the selected sale, without prices.
    void BCortesiaClick();
    SaleExchange &exchange() { return *m_exchange; }
    SaleGift &gift() { return *m_gift; }

protected:
    void openDocument(qint64 key) override;
    void opening() override;

private:
    struct ReturnableSale {
        qint64 key = 0;
        FiscalDocumentRef quoted;
        QList<ReturnableLine> lines;
    };
    template <typename Quote, typename Lines>
    std::optional<ReturnableSale> selectedForReturn(Quote quote, Lines lines);

    QPointer<TFBanco> m_sale;
    std::function<void()> m_chart;
    TFArcArt *m_articleArchive = nullptr;
    QWidget *m_articlePanel = nullptr;
    SaleVoid *m_void;
    TFBuoni *m_vouchers = nullptr;
    SaleExchange *m_exchange;
    SaleGift *m_gift;
};

} // namespace corvale
