#pragma once

#include "sales/OfflineSales.h"

#include <QList>
#include <QString>

namespace corvale {

class PageCanvas;

// The printed list of the sales stored without the telematic register, to
// copy into (or keep with) the emergency register of takings: the shop's
// name lines, the title, one row per sale (date, time, number, cash, card,
// voucher, total, state) under a column header repeated on every page, the
// page number at each page's foot and the totals at the end.
struct OfflineSalesPrintout {
    static inline const QString title =
        QStringLiteral("REGISTRO DEI CORRISPETTIVI DI EMERGENZA - VENDITE NON FISCALIZZATE");

    QString nameLine1;
    QString nameLine2;
    QList<OfflineSale> sales;

    void draw(PageCanvas &canvas) const;
};

} // namespace corvale
