#include "sales/VoucherPrintout.h"

#include "platform/Formats.h"
#include "printing/PageCanvas.h"
#include "sales/SalePrintout.h"

namespace corvale {

namespace {

// The EAN-13 digit patterns: L (odd), G (even) and R, seven modules each.
constexpr const char *patternL[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                      "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr const char *patternG[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                      "0111001", "0000101", "0010001", "0001001", "0010111"};
constexpr const char *patternR[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                      "1001110", "1010000", "1000100", "1001000", "1110100"};
// Which of the left six digits use G, by the first digit.
constexpr const char *parity[10] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                    "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};

} // namespace

std::array<bool, 95> VoucherPrintout::ean13Modules(const QString &code) {
    std::array<bool, 95> out{};
    if (code.size() != 13)
        return out;
    for (QChar c : code)
        if (c < u'0' || c > u'9')
            return out;
    QString bits = QStringLiteral("101");
    const int first = code.at(0).digitValue();
    for (int i = 1; i <= 6; ++i) {
        const int d = code.at(i).digitValue();
        bits += QLatin1String(parity[first][i - 1] == 'G' ? patternG[d] : patternL[d]);
    }
    bits += QStringLiteral("01010");
    for (int i = 7; i <= 12; ++i)
        bits += QLatin1String(patternR[code.at(i).digitValue()]);
    bits += QStringLiteral("101");
    for (int i = 0; i < 95; ++i)
        out[size_t(i)] = bits.at(i) == u'1';
    return out;
}

void VoucherPrintout::readShop(db::Database &database) {
    SalePrintout heading;
    heading.readShop(database);
    shopName = heading.name;
    shopAddress = heading.address.trimmed();
}

void VoucherPrintout::draw(PageCanvas &canvas) const {
    const int dpi = canvas.resolution();
    const int margin = dpi / 2;
    int y = margin;
    canvas.setBrushClear();
    auto line = [&](const QString &text, double points, bool bold) {
        CanvasFont f;
        f.size = points;
        f.bold = bold;
        canvas.setFont(f);
        canvas.textOut(margin, y, text);
        y += canvas.textHeight(text) + dpi / 20;
    };
    line(shopName, 14, true);
    if (!shopAddress.isEmpty())
        line(shopAddress, 10, false);
    y += dpi / 6;
    line(QStringLiteral("BUONO N. %1").arg(voucher.number), 18, true);
    line(QStringLiteral("Valore ") + QChar(0x20AC) + QStringLiteral(" ") +
             Formats::format(u"%.2n", voucher.amount.toDouble()),
         14, true);
    if (voucher.residual != voucher.amount)
        line(QStringLiteral("Residuo ") + QChar(0x20AC) + QStringLiteral(" ") +
                 Formats::format(u"%.2n", voucher.residual.toDouble()),
             12, false);
    line(QStringLiteral("Emesso il ") + Formats::formatDate(voucher.issued), 10, false);
    if (voucher.expiry.isValid())
        line(QStringLiteral("Valido fino al ") + Formats::formatDate(voucher.expiry), 10, false);
    y += dpi / 8;
    // The bars: about a third of a millimetre each, an inch high.
    const int module = std::max(1, dpi / 75);
    const int height = dpi;
    const auto modules = ean13Modules(voucher.barcode);
    for (int i = 0; i < 95; ++i)
        if (modules[size_t(i)])
            canvas.fillRect(QRect(margin + i * module, y, module, height), Qt::black);
    y += height + dpi / 20;
    line(voucher.barcode, 10, false);
}

} // namespace corvale
