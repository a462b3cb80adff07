#include "labels/BarcodeEncoding.h"

namespace corvale::barcode {

namespace {

int digitValue(QChar c) {
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : -1;
}

// EAN number sets, seven modules per digit, most significant module first.
constexpr const char *eanSetA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                     "0110001", "0101111", "0111011", "0110111", "0001011"};
constexpr const char *eanSetB[10] = {"0100111", "0110011", "0011011", "0100001", "0011101",
                                     "0111001", "0000101", "0010001", "0001001", "0010111"};
constexpr const char *eanSetC[10] = {"1110010", "1100110", "1101100", "1000010", "1011100",
                                     "1001110", "1010000", "1000100", "1001000", "1110100"};
// Number sets of the six left digits of EAN-13, chosen by the first digit.
constexpr const char *eanParity[10] = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                       "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};

// Code 39: the nine elements of each character, bar first ('w' = wide).
struct Code39Char {
    char ch;
    const char *pattern;
};
constexpr Code39Char code39Table[] = {
    {'0', "nnnwwnwnn"}, {'1', "wnnwnnnnw"}, {'2', "nnwwnnnnw"}, {'3', "wnwwnnnnn"},
    {'4', "nnnwwnnnw"}, {'5', "wnnwwnnnn"}, {'6', "nnwwwnnnn"}, {'7', "nnnwnnwnw"},
    {'8', "wnnwnnwnn"}, {'9', "nnwwnnwnn"}, {'A', "wnnnnwnnw"}, {'B', "nnwnnwnnw"},
    {'C', "wnwnnwnnn"}, {'D', "nnnnwwnnw"}, {'E', "wnnnwwnnn"}, {'F', "nnwnwwnnn"},
    {'G', "nnnnnwwnw"}, {'H', "wnnnnwwnn"}, {'I', "nnwnnwwnn"}, {'J', "nnnnwwwnn"},
    {'K', "wnnnnnnww"}, {'L', "nnwnnnnww"}, {'M', "wnwnnnnwn"}, {'N', "nnnnwnnww"},
    {'O', "wnnnwnnwn"}, {'P', "nnwnwnnwn"}, {'Q', "nnnnnnwww"}, {'R', "wnnnnnwwn"},
    {'S', "nnwnnnwwn"}, {'T', "nnnnwnwwn"}, {'U', "wwnnnnnnw"}, {'V', "nwwnnnnnw"},
    {'W', "wwwnnnnnn"}, {'X', "nwnnwnnnw"}, {'Y', "wwnnwnnnn"}, {'Z', "nwwnwnnnn"},
    {'-', "nwnnnnwnw"}, {'.', "wwnnnnwnn"}, {' ', "nwwnnnwnn"}, {'$', "nwnwnwnnn"},
    {'/', "nwnwnnnwn"}, {'+', "nwnnnwnwn"}, {'%', "nnnwnwnwn"},
};
constexpr const char *code39Star = "nwnnwnwnn";

// A data character's pattern; '*' and anything outside the set get none.
const char *code39Pattern(QChar c) {
    for (const Code39Char &e : code39Table)
        if (c == QLatin1Char(e.ch))
            return e.pattern;
    return nullptr;
}

// 2 of 5: the five elements of each digit ('w' = wide).
constexpr const char *twoOfFive[10] = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                       "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};

// Code 128 element widths of values 0..106 (106 = stop), bar first.
constexpr const char *code128Patterns[107] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

enum Code128 {
    Shift = 98,
    CodeC = 99,
    CodeB = 100,
    CodeA = 101,
    Fnc1 = 102,
    StartA = 103,
    StartB = 104,
    StartC = 105,
    Stop = 106
};

// POSTNET bars of each digit, true = tall.
constexpr const char *postnetTable[10] = {"11000", "00011", "00101", "00110", "01001",
                                          "01010", "01100", "10001", "10010", "10100"};

void addSpaces(Elements &out, int count, int width) {
    for (int i = 0; i < count; ++i)
        out.push_back({false, width});
}

// The ladder of (wide, narrow) pairs, widest first.
constexpr WidthPair ladder[] = {{24, 9}, {20, 8}, {16, 6}, {13, 5}, {10, 4},
                                {8, 3},  {6, 2},  {5, 2},  {3, 1}};

// First pair of the ladder that fits; beyond the widest pair the elements
// grow in steps of (8, 3) for as long as the symbol still fits, so a wide
// control gets a wide symbol and never one past its edge.
template <typename Fits> WidthPair chooseWidths(Fits fits) {
    if (fits(ladder[0])) {
        int m = 3;
        while (fits(WidthPair{8 * (m + 1), 3 * (m + 1)}))
            ++m;
        return {8 * m, 3 * m};
    }
    for (const WidthPair &p : ladder)
        if (fits(p))
            return p;
    return {2, 1};
}

// Width of an Interleaved 2 of 5 symbol without margins: start (four narrow),
// the digits, stop (wide, narrow, narrow).
int interleavedSymbolWidth(int digits, WidthPair p) {
    return (2 * p.wide + 3 * p.narrow) * digits + 6 * p.narrow + p.wide;
}

} // namespace

int totalWidth(const Elements &elements) {
    int w = 0;
    for (const BarElement &e : elements)
        w += e.width;
    return w;
}

int eanCheckDigit(QStringView digits) {
    int sum = 0;
    int weight = 3;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        const int d = digitValue(digits[i]);
        sum += weight * (d < 0 ? 0 : d);
        weight = 4 - weight;
    }
    return (10 - sum % 10) % 10;
}

EanSymbol encodeEan(const QString &text) {
    EanSymbol s;
    const qsizetype len = text.size();
    if (len == 12 || len == 13)
        s.ean13 = true;
    else if (len == 7 || len == 8)
        s.ean13 = false;
    else
        return s;
    s.valid = true;
    s.text = text;
    if (len == 12 || len == 7)
        s.text += QChar(u'0' + eanCheckDigit(text));
    s.totalModules = s.ean13 ? 113 : 81;
    s.leftMargin = s.ean13 ? 11 : 7;

    auto guard = [&](const char *bits) {
        for (const char *b = bits; *b; ++b)
            s.modules.push_back({*b == '1', 1, true});
    };
    auto digit = [&](qsizetype index, const char *const set[10]) {
        const QChar c = s.text[index];
        s.digits.push_back({int(s.modules.size()), c});
        const int d = digitValue(c);
        const char *bits = d < 0 ? "0000000" : set[d];
        for (const char *b = bits; *b; ++b)
            s.modules.push_back({*b == '1', 1, false});
    };

    const int first = s.ean13 ? 1 : 0;
    const int half = s.ean13 ? 6 : 4;
    const int lead = digitValue(s.text[0]);
    const char *parity = s.ean13 ? eanParity[lead < 0 ? 0 : lead] : "AAAA";
    guard("101");
    for (int i = 0; i < half; ++i)
        digit(first + i, parity[i] == 'B' ? eanSetB : eanSetA);
    guard("01010");
    for (int i = 0; i < half; ++i)
        digit(first + half + i, eanSetC);
    guard("101");
    return s;
}

WidthPair code39Widths(int characters, int available, bool clearZone) {
    return chooseWidths([&](WidthPair p) {
        const int quiet = clearZone ? (p.wide > 3 ? 20 : 16) : 0;
        return quiet * p.narrow + (3 * p.wide + 7 * p.narrow) * (characters + 2) <= available;
    });
}

LinearSymbol encodeCode39(const QString &text, int available, bool clearZone) {
    LinearSymbol s;
    s.text = text;
    if (text.isEmpty())
        return s;
    const int n = int(text.size());
    if ((n + 2) * 13 + 18 > available) {
        s.status = LinearSymbol::Status::TooSmall;
        return s;
    }
    s.status = LinearSymbol::Status::Drawn;
    const WidthPair p = code39Widths(n, available, clearZone);
    s.widths = p;
    s.margin = (available - (3 * p.wide + 7 * p.narrow) * (n + 2) + p.narrow) / (2 * p.narrow);
    addSpaces(s.elements, s.margin, p.narrow);
    auto character = [&](const char *pattern) {
        for (int k = 0; k < 9; ++k)
            s.elements.push_back({k % 2 == 0, pattern && pattern[k] == 'w' ? p.wide : p.narrow});
        s.elements.push_back({false, p.narrow});
    };
    character(code39Star);
    for (QChar c : text)
        character(code39Pattern(c));
    character(code39Star);
    addSpaces(s.elements, s.margin - 1, p.narrow);
    return s;
}

WidthPair interleavedWidths(int digits, int available, bool clearZone) {
    return chooseWidths([&](WidthPair p) {
        int quiet = 0;
        if (clearZone)
            quiet = p.wide >= 4 ? 21 : p.wide == 3 ? 20 : 12;
        return quiet * p.narrow + interleavedSymbolWidth(digits, p) <= available;
    });
}

LinearSymbol encodeInterleaved2Of5(const QString &text, int available, bool clearZone) {
    LinearSymbol s;
    s.text = text;
    if (text.isEmpty())
        return s;
    if (s.text.size() % 2 != 0)
        s.text.prepend(u'0');
    const int n = int(s.text.size());
    if (7 * n + 16 > available) {
        s.status = LinearSymbol::Status::TooSmall;
        return s;
    }
    s.status = LinearSymbol::Status::Drawn;
    const WidthPair p = interleavedWidths(n, available, clearZone);
    s.widths = p;
    const int symbol = interleavedSymbolWidth(n, p);
    s.margin = (available - symbol + p.narrow) / (2 * p.narrow);
    addSpaces(s.elements, s.margin, p.narrow);
    for (int k = 0; k < 4; ++k)
        s.elements.push_back({k % 2 == 0, p.narrow});
    for (int i = 0; i + 1 < n; i += 2) {
        const int a = digitValue(s.text[i]);
        const int b = digitValue(s.text[i + 1]);
        for (int k = 0; k < 5; ++k) {
            s.elements.push_back({true, a >= 0 && twoOfFive[a][k] == 'w' ? p.wide : p.narrow});
            s.elements.push_back({false, b >= 0 && twoOfFive[b][k] == 'w' ? p.wide : p.narrow});
        }
    }
    s.elements.push_back({true, p.wide});
    s.elements.push_back({false, p.narrow});
    s.elements.push_back({true, p.narrow});
    addSpaces(s.elements, s.margin - 1, p.narrow);
    s.bearerX = s.margin * p.narrow;
    s.bearerLength = symbol;
    s.bearerThickness = 2 * p.narrow;
    return s;
}

std::optional<QString> itf14Text(const QString &text) {
    if (text.size() <= 11)
        return std::nullopt;
    if (text.size() == 12)
        return u'0' + text + QChar(u'0' + eanCheckDigit(text));
    if (text.size() == 13)
        return u'0' + text;
    return text;
}

std::optional<std::vector<int>> code128Values(const QString &text, bool ean128) {
    const int length = int(text.size());
    for (QChar c : text)
        if (c.unicode() > 127)
            return std::nullopt;
    // 1-based positions, as the rules below count them.
    auto ch = [&](int i) { return text[i - 1].unicode(); };
    auto isDigit = [&](int i) { return i >= 1 && i <= length && ch(i) >= '0' && ch(i) <= '9'; };
    auto isControl = [&](int i) { return ch(i) < 32; };
    auto isLower = [&](int i) { return ch(i) >= 96; };
    auto runAt = [&](int i) {
        return i >= 1 && i <= length - 3 && isDigit(i) && isDigit(i + 1) && isDigit(i + 2) &&
               isDigit(i + 3);
    };
    auto nextRun = [&](int p) {
        for (int i = p; i < length; ++i)
            if (runAt(i))
                return i;
        return length + 1;
    };
    // First control or lower-case character from p; 0 when there is none.
    auto firstSpecial = [&](int p) {
        for (int i = p < 1 ? 1 : p; i <= length; ++i)
            if (isControl(i) || isLower(i))
                return i;
        return 0;
    };
    auto value = [&](int i) { return ch(i) >= 32 ? ch(i) - 32 : ch(i) + 64; };

    std::vector<int> v;
    int set;
    if (runAt(1)) {
        v.push_back(StartC);
        set = CodeC;
    } else {
        const int s = firstSpecial(1);
        if (s != 0 && isControl(s)) {
            v.push_back(StartA);
            set = CodeA;
        } else {
            v.push_back(StartB);
            set = CodeB;
        }
    }
    if (ean128)
        v.push_back(Fnc1);

    int p = 1;
    while (p <= length) {
        if (runAt(p)) {
            if (set != CodeC)
                v.push_back(CodeC);
            set = CodeC;
            while (p <= length - 1 && isDigit(p) && isDigit(p + 1)) {
                v.push_back(10 * (ch(p) - '0') + (ch(p + 1) - '0'));
                p += 2;
            }
        }
        const int r = nextRun(p);
        if (p >= r)
            continue;
        const int s = firstSpecial(p);
        if (s == 0 || isLower(s)) {
            if (set != CodeB)
                v.push_back(CodeB);
            set = CodeB;
            for (;;) {
                while (p < r && p <= length && !isControl(p))
                    v.push_back(value(p++));
                if (p < r && p <= length) {
                    const int after = firstSpecial(p + 1);
                    if (after == 0 || isLower(after)) {
                        v.push_back(Shift);
                        v.push_back(value(p++));
                        continue;
                    }
                }
                break;
            }
        } else {
            if (set != CodeA)
                v.push_back(CodeA);
            set = CodeA;
            for (;;) {
                while (p < r && p <= length && !isLower(p))
                    v.push_back(value(p++));
                if (p < r && p <= length) {
                    const int after = firstSpecial(p + 1);
                    if (after != 0 && isControl(after)) {
                        v.push_back(Shift);
                        v.push_back(value(p++));
                        continue;
                    }
                }
                break;
            }
        }
    }
    return v;
}

int code128Check(const std::vector<int> &values) {
    if (values.empty())
        return 0;
    long long sum = values[0];
    for (size_t i = 1; i < values.size(); ++i)
        sum += (long long)i * values[i];
    return int(sum % 103);
}

Elements code128Modules(const std::vector<int> &valuesWithCheck, int quietZone) {
    Elements out;
    if (quietZone > 0)
        out.push_back({false, quietZone});
    auto pattern = [&](const char *widths) {
        for (int k = 0; widths[k]; ++k)
            out.push_back({k % 2 == 0, widths[k] - '0'});
    };
    for (int v : valuesWithCheck)
        pattern(code128Patterns[v >= 0 && v < Stop ? v : 0]);
    pattern(code128Patterns[Stop]);
    if (quietZone > 0)
        out.push_back({false, quietZone});
    return out;
}

int postnetExpectedDigits(TBarCodeType type, int textLength) {
    switch (type) {
    case TBarCodeType::PostnetZip:
        return 5;
    case TBarCodeType::PostNetZipPlus4:
        return 9;
    case TBarCodeType::Postnet11:
        return 11;
    default:
        // Medium lengths take the ZIP+4 layout, so a 9-digit code gets its
        // check digit and a 10-digit one (ZIP+4 with check) is drawn as it is.
        if (textLength < 6)
            return 5;
        return textLength <= 10 ? 9 : 11;
    }
}

QString postnetText(const QString &text, TBarCodeType type) {
    if (text.size() > postnetExpectedDigits(type, int(text.size())))
        return text;
    int sum = 0;
    for (QChar c : text)
        sum += digitValue(c) < 0 ? 0 : digitValue(c);
    return text + QChar(u'0' + (10 - sum % 10) % 10);
}

std::vector<bool> postnetBars(const QString &digits) {
    std::vector<bool> bars{true};
    for (QChar c : digits) {
        const int d = digitValue(c);
        for (int k = 0; k < 5; ++k)
            bars.push_back(d >= 0 && postnetTable[d][k] == '1');
    }
    bars.push_back(true);
    return bars;
}

std::array<bool, 9> fimPattern(TBarCodeType type) {
    const char *bits = type == TBarCodeType::FIMB   ? "101101101"
                       : type == TBarCodeType::FIMC ? "110101011"
                                                    : "110010011";
    std::array<bool, 9> out{};
    for (int i = 0; i < 9; ++i)
        out[size_t(i)] = bits[i] == '1';
    return out;
}

QString linkedText(const QString &fieldText, TBarCodeType type) {
    QString t = fieldText;
    qsizetype want = 0;
    if (type == TBarCodeType::EAN13 || type == TBarCodeType::ITF14)
        want = 12;
    else if (type == TBarCodeType::EAN8)
        want = 7;
    if (t.size() < want)
        t.prepend(QString(want - t.size(), u'0'));
    return t;
}

} // namespace corvale::barcode
