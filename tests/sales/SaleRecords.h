#pragma once

// What a sale, a return or an exchange left behind: the archive's columns,
// the Prima nota's takings, the customer's points and the register's refund
// totals, for the tests of returns and exchanges.

#include "cashbook/PrimaNota.h"
#include "common/ShopFixture.h"
#include "sales/SaleCustomer.h"

namespace testing {

inline QStringList col(ShopFixture &f, const char *table, const char *field) {
    return f.column(QString::fromLatin1(table), QString::fromLatin1(field));
}

// The takings of March 2026 in the Prima nota.
inline corvale::BookAmounts primaNotaIn(ShopFixture &f) {
    return corvale::PrimaNota(f.db())
        .gather(QStringLiteral("01/03/2026"), QStringLiteral("31/03/2026"))
        .periodIn;
}

// The points of customer 1.
inline qint64 customerPoints(ShopFixture &f) {
    return corvale::SaleCustomer::byCode(f.db(), 1, f.shop->texts().pointsPerEuro)->points;
}

// The total element of an Epson register's document.
inline QString refundTotal(const char *description, const QString &paid, int type, int index) {
    return QStringLiteral("printRecTotal operator=1 description=%1 payment=%2 paymentType=%3 "
                          "index=%4 justification=2")
        .arg(QLatin1String(description), paid)
        .arg(type)
        .arg(index);
}

} // namespace testing
