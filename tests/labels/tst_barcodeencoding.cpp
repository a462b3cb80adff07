#include "labels/BarcodeEncoding.h"

#include <QTest>

using namespace corvale;
using namespace corvale::barcode;

namespace {

QString bits(const Elements &modules, size_t from, size_t count) {
    QString s;
    for (size_t i = from; i < from + count && i < modules.size(); ++i)
        s += modules[i].bar ? u'1' : u'0';
    return s;
}

// Elements as "b3 s1 ..." for readable comparisons.
QString runs(const Elements &e, size_t from, size_t count) {
    QStringList out;
    for (size_t i = from; i < from + count && i < e.size(); ++i)
        out << QStringLiteral("%1%2").arg(QChar(e[i].bar ? u'b' : u's')).arg(e[i].width);
    return out.join(u' ');
}

const QChar ctl1(1);
const QChar ctl2(2);

} // namespace

class TestBarcodeEncoding : public QObject {
    Q_OBJECT
private slots:
    void eanLayoutsAndCheckDigits() {
        const EanSymbol e13 = encodeEan(u"871010169326"_qs);
        QVERIFY(e13.valid && e13.ean13);
        QCOMPARE(e13.text, u"8710101693262"_qs);
        QCOMPARE(e13.totalModules, 113);
        QCOMPARE(e13.leftMargin, 11);
        QCOMPARE(int(e13.modules.size()), 95);
        // Guards are flagged and placed; the centre guard sits after six digits.
        QCOMPARE(bits(e13.modules, 0, 3), u"101"_qs);
        QCOMPARE(bits(e13.modules, 45, 5), u"01010"_qs);
        QCOMPARE(bits(e13.modules, 92, 3), u"101"_qs);
        QVERIFY(e13.modules[0].guard && e13.modules[47].guard && e13.modules[94].guard);
        QVERIFY(!e13.modules[3].guard && !e13.modules[50].guard);
        // First digit 8 gives the sets A B A B B A: digit "7" in A, "1" in B.
        QCOMPARE(bits(e13.modules, 3, 7), u"0111011"_qs);
        QCOMPARE(bits(e13.modules, 10, 7), u"0110011"_qs);
        // The right half is always set C; the last is the check digit 2.
        QCOMPARE(bits(e13.modules, 85, 7), u"1101100"_qs);
        // Twelve digits stand under the bars, from the first module of each.
        QCOMPARE(int(e13.digits.size()), 12);
        QCOMPARE(e13.digits.front().module, 3);
        QCOMPARE(e13.digits.front().ch, QChar(u'7'));
        QCOMPARE(e13.digits.back().module, 85);
        QCOMPARE(e13.digits.back().ch, QChar(u'2'));

        // A 13-digit text is drawn as given, even with a wrong check digit.
        QCOMPARE(encodeEan(u"8710101693263"_qs).text, u"8710101693263"_qs);

        const EanSymbol e8 = encodeEan(u"1234567"_qs);
        QVERIFY(e8.valid && !e8.ean13);
        QCOMPARE(e8.text, u"12345670"_qs);
        QCOMPARE(e8.totalModules, 81);
        QCOMPARE(int(e8.modules.size()), 67);
        QCOMPARE(bits(e8.modules, 3, 7), u"0011001"_qs); // "1" in set A
        QCOMPARE(bits(e8.modules, 31, 5), u"01010"_qs);

        // A character that is not a digit: seven clear modules, still written.
        const EanSymbol odd = encodeEan(u"12345X7"_qs);
        QCOMPARE(bits(odd.modules, 43, 7), u"0000000"_qs);
        QCOMPARE(odd.digits[5].ch, QChar(u'X'));

        for (const QString &bad : {u""_qs, u"123456"_qs, u"123456789"_qs, u"12345678901234"_qs})
            QVERIFY(!encodeEan(bad).valid);
        QCOMPARE(eanCheckDigit(u"400638133393"), 1);
        QCOMPARE(eanCheckDigit(u"9638507"), 4);
    }

    void code39Ladder() {
        // Four characters in 500 pixels with quiet zones: (10, 4) is the
        // first pair that fits; the margin takes what is left.
        LinearSymbol s = encodeCode39(u"ABCD"_qs, 500, true);
        QCOMPARE(s.status, LinearSymbol::Status::Drawn);
        QCOMPARE(s.widths, (WidthPair{10, 4}));
        QCOMPARE(s.margin, 19);
        QCOMPARE(totalWidth(s.elements), 37 * 4 + 58 * 6);
        // Start "*" after the margin: b4 s10 b4 s4 b10 s4 b10 s4 b4, gap.
        QCOMPARE(runs(s.elements, 19, 10), u"b4 s10 b4 s4 b10 s4 b10 s4 b4 s4"_qs);

        // Without quiet zones the exact width fits, with no margin at all.
        s = encodeCode39(u"ABCD"_qs, 348, false);
        QCOMPARE(s.widths, (WidthPair{10, 4}));
        QCOMPARE(s.margin, 0);
        QCOMPARE(totalWidth(s.elements), 348);

        // Past the widest pair the elements keep growing as 8m and 3m.
        QCOMPARE(code39Widths(4, 5000, true), (WidthPair{120, 45}));
        // Too small for even (2, 1).
        QCOMPARE(encodeCode39(u"ABCD"_qs, 95, true).status, LinearSymbol::Status::TooSmall);
        QCOMPARE(encodeCode39(u"ABCD"_qs, 96, true).widths, (WidthPair{2, 1}));
        QCOMPARE(encodeCode39(u""_qs, 500, true).status, LinearSymbol::Status::Empty);

        // Lower case is outside the set: nine narrow elements and the gap.
        s = encodeCode39(u"a"_qs, 1000, true);
        const int n = s.widths.narrow;
        const size_t first = size_t(s.margin) + 10;
        for (size_t i = first; i < first + 10; ++i)
            QCOMPARE(s.elements[i].width, n);
    }

    void linearSymbolsStayInsideTheirWidth() {
        for (int chars = 1; chars <= 12; ++chars) {
            const QString text(chars, u'7');
            for (int w = 0; w <= 4000; w += 7) {
                for (bool quiet : {true, false}) {
                    const LinearSymbol c39 = encodeCode39(text, w, quiet);
                    if (c39.status == LinearSymbol::Status::Drawn)
                        QVERIFY2(totalWidth(c39.elements) <= w,
                                 qPrintable(QStringLiteral("Code 39 n=%1 W=%2").arg(chars).arg(w)));
                    const LinearSymbol i25 = encodeInterleaved2Of5(text, w, quiet);
                    if (i25.status != LinearSymbol::Status::Drawn)
                        continue;
                    QVERIFY2(totalWidth(i25.elements) <= w,
                             qPrintable(QStringLiteral("2 of 5 n=%1 W=%2").arg(chars).arg(w)));
                    // The bearer bars run exactly over start .. stop.
                    const int afterStop =
                        totalWidth(i25.elements) -
                        (i25.margin - 1 > 0 ? (i25.margin - 1) * i25.widths.narrow : 0);
                    QCOMPARE(i25.bearerX, i25.margin * i25.widths.narrow);
                    QCOMPARE(i25.bearerX + i25.bearerLength, afterStop);
                    QCOMPARE(i25.bearerThickness, 2 * i25.widths.narrow);
                }
            }
        }
    }

    void interleavedAndItf14() {
        LinearSymbol s = encodeInterleaved2Of5(u"123"_qs, 400, true);
        QCOMPARE(s.text, u"0123"_qs);
        const int nw = s.widths.narrow, wd = s.widths.wide;
        const size_t m = size_t(s.margin);
        // Start: four narrow elements; then "0" bars (n n w w n) with "1"
        // spaces (w n n n w) interleaved.
        QCOMPARE(runs(s.elements, m, 4), QStringLiteral("b%1 s%1 b%1 s%1").arg(nw));
        QCOMPARE(runs(s.elements, m + 4, 10),
                 QStringLiteral("b%1 s%2 b%1 s%1 b%2 s%1 b%2 s%1 b%1 s%2").arg(nw).arg(wd));
        QCOMPARE(encodeInterleaved2Of5(u"1234"_qs, 43, true).status,
                 LinearSymbol::Status::TooSmall);
        QCOMPARE(encodeInterleaved2Of5(u"1234"_qs, 44, true).status, LinearSymbol::Status::Drawn);
        QCOMPARE(encodeInterleaved2Of5(u""_qs, 400, true).status, LinearSymbol::Status::Empty);

        QCOMPARE(itf14Text(u"123456789012"_qs).value(), u"01234567890128"_qs);
        QCOMPARE(itf14Text(u"1234567890128"_qs).value(), u"01234567890128"_qs);
        QVERIFY(!itf14Text(u"12345678901"_qs));
        QVERIFY(!itf14Text(u""_qs));
    }

    void code128ValueLists() {
        auto values = [](const QString &t, bool ean = false) {
            return code128Values(t, ean).value();
        };
        using V = std::vector<int>;
        QCOMPARE(values(u"ab"_qs), (V{104, 65, 66}));
        QCOMPARE(values(u"ab"_qs + ctl1 + u"cd"_qs), (V{104, 65, 66, 98, 65, 67, 68}));
        QCOMPARE(values(QString(ctl1) + u"Aa"_qs + ctl2), (V{103, 65, 33, 98, 65, 66}));
        // Digit runs of four or more go to set C; an odd digit falls back.
        QCOMPARE(values(u"12345"_qs), (V{105, 12, 34, 100, 21}));
        QCOMPARE(values(u"AB1234"_qs), (V{104, 33, 34, 99, 12, 34}));
        QCOMPARE(values(u"A123"_qs), (V{104, 33, 17, 18, 19}));
        // Lower case ahead of a control character switches sets for good.
        QCOMPARE(values(QString(ctl1) + u"ab"_qs), (V{103, 65, 100, 65, 66}));
        QCOMPARE(values(u"0101"_qs, true), (V{105, 102, 1, 1}));
        QCOMPARE(values(u"AB"_qs, true), (V{104, 102, 33, 34}));
        QCOMPARE(values(u""_qs), (V{104}));
        QVERIFY(!code128Values(u"caffè"_qs, false));

        QCOMPARE(code128Check({104, 65, 66}), 95);
        QCOMPARE(code128Check({105, 12, 34, 100, 21}), 54);

        // Every value is eleven modules, the stop thirteen, quiet zones apart.
        for (int v = 0; v <= 105; ++v) {
            const Elements e = code128Modules({v}, 0);
            QCOMPARE(int(e.size()), 6 + 7);
            QCOMPARE(totalWidth(e), 24);
            QVERIFY(e.front().bar);
        }
        const Elements framed = code128Modules({104, 65, 66, 95}, 10);
        QCOMPARE(totalWidth(framed), 4 * 11 + 13 + 20);
        QCOMPARE(framed.front(), (BarElement{false, 10}));
        QCOMPARE(framed.back(), (BarElement{false, 10}));
    }

    void postnetAndFim() {
        QCOMPARE(postnetText(u"12345"_qs, TBarCodeType::PostnetZip), u"123455"_qs);
        QCOMPARE(postnetText(u"123455"_qs, TBarCodeType::PostnetZip), u"123455"_qs);
        QCOMPARE(postnetText(u"123456789"_qs, TBarCodeType::PostNetZipPlus4), u"1234567895"_qs);
        QCOMPARE(postnetText(u"12345678901"_qs, TBarCodeType::Postnet11), u"123456789014"_qs);
        // PostNet: short texts as ZIP, medium as ZIP+4, long as 11 digits.
        QCOMPARE(postnetExpectedDigits(TBarCodeType::PostNet, 5), 5);
        QCOMPARE(postnetExpectedDigits(TBarCodeType::PostNet, 9), 9);
        QCOMPARE(postnetText(u"1234567895"_qs, TBarCodeType::PostNet), u"1234567895"_qs);
        QCOMPARE(postnetText(u"12345678901"_qs, TBarCodeType::PostNet), u"123456789014"_qs);

        const std::vector<bool> bars = postnetBars(u"09"_qs);
        const std::vector<bool> expected{true, true,  true, false, false, false,
                                         true, false, true, false, false, true};
        QCOMPARE(bars, expected);
        for (QChar d : u"0123456789"_qs) {
            const std::vector<bool> b = postnetBars(QString(d));
            QCOMPARE(std::count(b.begin() + 1, b.end() - 1, true), 2);
        }

        const std::array<bool, 9> a{true, true, false, false, true, false, false, true, true};
        const std::array<bool, 9> b{true, false, true, true, false, true, true, false, true};
        const std::array<bool, 9> c{true, true, false, true, false, true, false, true, true};
        QCOMPARE(fimPattern(TBarCodeType::FIMA), a);
        QCOMPARE(fimPattern(TBarCodeType::FIMB), b);
        QCOMPARE(fimPattern(TBarCodeType::FIMC), c);
    }

    void dataLinkPaddingAndTypeNames() {
        QCOMPARE(linkedText(u"123"_qs, TBarCodeType::EAN13), u"000000000123"_qs);
        QCOMPARE(linkedText(u"123"_qs, TBarCodeType::ITF14), u"000000000123"_qs);
        QCOMPARE(linkedText(u"123"_qs, TBarCodeType::EAN8), u"0000123"_qs);
        QCOMPARE(linkedText(u"123"_qs, TBarCodeType::EAN), u"123"_qs);
        QCOMPARE(linkedText(u"8710101693262"_qs, TBarCodeType::EAN13), u"8710101693262"_qs);

        QCOMPARE(int(TBarCodeType::EAN), 7);
        QCOMPARE(int(TBarCodeType::EAN128), 14);
        for (int i = 0; i < barCodeTypeCount; ++i)
            QCOMPARE(barCodeTypeFromName(barCodeTypeName(TBarCodeType(i))), TBarCodeType(i));
        QCOMPARE(barCodeTypeFromName(u"ean13"_qs), TBarCodeType::EAN13);
        QVERIFY(!barCodeTypeFromName(u"QR"_qs));
    }
};

QTEST_MAIN(TestBarcodeEncoding)
#include "tst_barcodeencoding.moc"
