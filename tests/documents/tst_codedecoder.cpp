// Codes typed or scanned into a document's code box: what their characters
// say, and what they name once the tables are read.

#include "documents/DocumentData.h"

#include "db/Table.h"
#include "documents/CodeDecoder.h"
#include "documents/TypedCode.h"

#include <QTest>

using namespace corvale;
using Search = CodeDecoder::Search;
Q_DECLARE_METATYPE(CodeDecoder::Search)

namespace {

QString reasonName(UnknownCode::Reason reason) {
    switch (reason) {
    case UnknownCode::Reason::Empty:
        return QStringLiteral("empty");
    case UnknownCode::Reason::NoArticle:
        return QStringLiteral("no article");
    case UnknownCode::Reason::SizeOutOfRange:
        return QStringLiteral("size out of range");
    case UnknownCode::Reason::WrongCheckDigit:
        return QStringLiteral("wrong check digit");
    }
    return {};
}

// One line for a result: "line <article> <colour or -> <position> <label or
// -> [choose colour]", "extra <article>", "voucher <number>", "unknown: <reason>".
QString describe(const DecodedCode &decoded) {
    auto orDash = [](const QString &s) {
        return s.trimmed().isEmpty() ? QStringLiteral("-") : s.trimmed();
    };
    if (const auto *l = std::get_if<CodedLine>(&decoded))
        return QStringLiteral("line %1 %2 %3 %4%5")
            .arg(l->article)
            .arg(orDash(l->colour))
            .arg(l->code.position)
            .arg(orDash(l->sizeLabel))
            .arg(l->colourToChoose ? QStringLiteral(" choose colour") : QString());
    if (const auto *e = std::get_if<ExtraCode>(&decoded))
        return QStringLiteral("extra %1").arg(e->article);
    if (const auto *v = std::get_if<ScannedVoucher>(&decoded))
        return QStringLiteral("voucher %1").arg(v->number);
    return QStringLiteral("unknown: ") + reasonName(std::get<UnknownCode>(decoded).reason);
}

// Article 1 is stocked by colour, article 2 (an accessory) is not, article 3
// is no longer in use. Extra codes: a foreign EAN-13 and a word for article 1,
// a word for article 3, and a code shaped like a line barcode of article 1
// given to article 2.
void addCodeData(ShopFixture &f) {
    addDocumentData(f);
    f.add(QStringLiteral("ARCARTTG"), {{QStringLiteral("ARTCODE"), 1},
                                       {QStringLiteral("COLORE"), QStringLiteral("ROSSO")},
                                       {QStringLiteral("TG1"), 2}});
    auto extra = [&](int article, const char *code) {
        f.add(QStringLiteral("BARCODE"), {{QStringLiteral("NUMREG"), article},
                                          {QStringLiteral("BARCODE"), QString::fromLatin1(code)}});
    };
    extra(1, "8710101693262");
    extra(1, "EXTRA1");
    extra(3, "EXTRA3");
    extra(2, "8000011021034");
}

} // namespace

class TestCodeDecoder : public QObject {
    Q_OBJECT
    // One shop for the table of codes, which only reads it.
    std::unique_ptr<ShopFixture> m_shop;

private Q_SLOTS:
    void initTestCase() {
        m_shop = std::make_unique<ShopFixture>();
        addCodeData(*m_shop);
    }
    void cleanupTestCase() { m_shop.reset(); }

    void charactersOfACode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("article");
        QTest::addColumn<qint64>("colour");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("wrongCheckDigit");
        QTest::addColumn<bool>("thirteenDigits");

        QTest::newRow("article code") << "800001"
                                      << "800001" << qint64(0) << 1 << false << false;
        QTest::newRow("blanks around") << "  800001 "
                                       << "800001" << qint64(0) << 1 << false << false;
        QTest::newRow("seven characters") << "8000011"
                                          << "800001" << qint64(-99) << 1 << false << false;
        QTest::newRow("code and colour") << "800001102"
                                         << "800001" << qint64(2) << 1 << false << false;
        QTest::newRow("twelve digits") << "800001102104"
                                       << "800001" << qint64(2) << 4 << false << false;
        QTest::newRow("line barcode") << "8000011021034"
                                      << "800001" << qint64(2) << 3 << false << true;
        QTest::newRow("wrong check digit") << "8000011021035"
                                           << "800001" << qint64(2) << 3 << true << true;
        QTest::newRow("colour code 000") << "8000010001034"
                                         << "800001" << qint64(-100) << 3 << true << true;
        QTest::newRow("letters in the size") << "80000110210AB"
                                             << "800001" << qint64(2) << 1 << false << false;
        QTest::newRow("short") << "8000"
                               << "8000" << qint64(0) << 1 << false << false;
        QTest::newRow("empty") << ""
                               << "" << qint64(0) << 1 << false << false;
    }

    void charactersOfACode() {
        QFETCH(QString, code);
        const TypedCode typed = TypedCode::read(code);
        QTEST(typed.article, "article");
        QTEST(typed.colourNumber, "colour");
        QTEST(typed.position, "position");
        QTEST(typed.wrongCheckDigit, "wrongCheckDigit");
        QTEST(typed.isThirteenDigits(), "thirteenDigits");
        QCOMPARE(typed.text, code.trimmed());
    }

    void whatACodeNames_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<Search>("search");
        QTest::addColumn<QString>("expected");
        const Search sale = Search::ArticleAndExtraCodes;
        const Search invoice = Search::ArticleCodes;

        QTest::newRow("empty") << "  " << sale << "unknown: empty";
        // Six characters: size position 1 of no colour.
        QTest::newRow("accessory by its code") << "800002" << sale << "line 2 - 1 38";
        QTest::newRow("stocked by colour") << "800001" << sale << "line 1 - 1 38 choose colour";
        QTest::newRow("seven characters") << "8000021" << sale << "line 2 - 1 38";
        // Nine characters: the colour, size position 1.
        QTest::newRow("code and colour") << "800001102" << sale << "line 1 BLU 1 38";
        QTest::newRow("twelve digits") << "800001102104" << sale << "line 1 BLU 4 41";
        QTest::newRow("own EAN-13") << "8000011011202" << sale << "line 1 ROSSO 20 -";
        QTest::newRow("not in use, by its code") << "800003102102" << sale << "line 3 BLU 2 39";
        QTest::newRow("unknown colour, stocked by colour")
            << "800001999101" << sale << "line 1 - 1 38 choose colour";
        QTest::newRow("unknown colour, accessory") << "800002999101" << sale << "line 2 - 1 38";
        QTest::newRow("colour code 000") << "8000020001034" << sale << "line 2 - 3 40";
        // The article's own code comes first, even where an extra code is the same.
        QTest::newRow("own code over extra code") << "8000011021034" << sale << "line 1 BLU 3 40";
        QTest::newRow("bad check digit") << "8000011021035" << sale << "unknown: wrong check digit";
        QTest::newRow("size 25") << "8000011021256" << sale << "unknown: size out of range";
        QTest::newRow("size 0") << "800001101100" << sale << "unknown: size out of range";
        QTest::newRow("size -1") << "800001101099" << sale << "unknown: size out of range";
        QTest::newRow("unknown article") << "999999" << sale << "unknown: no article";
        QTest::newRow("five characters") << "80000" << sale << "unknown: no article";
        // Foreign EAN-13s: one registered among the extra codes, one not.
        QTest::newRow("foreign, extra code") << "8710101693262" << sale << "extra 1";
        QTest::newRow("foreign, unknown")
            << "4006381333931" << sale << "unknown: size out of range";
        QTest::newRow("extra code word") << "EXTRA1" << sale << "extra 1";
        QTest::newRow("extra code, not in use") << "EXTRA3" << sale << "unknown: no article";
        QTest::newRow("voucher") << "2990000000071" << sale << "voucher 7";
        QTest::newRow("voucher, bad check digit")
            << "2990000000072" << sale << "unknown: wrong check digit";
        QTest::newRow("voucher number alone") << "7" << sale << "unknown: no article";
        // The invoice reads article codes only.
        QTest::newRow("invoice: line barcode") << "8000011021034" << invoice << "line 1 BLU 3 40";
        QTest::newRow("invoice: foreign")
            << "8710101693262" << invoice << "unknown: size out of range";
        QTest::newRow("invoice: extra code") << "EXTRA1" << invoice << "unknown: no article";
        QTest::newRow("invoice: voucher") << "2990000000071" << invoice << "voucher 7";
    }

    void whatACodeNames() {
        QFETCH(QString, code);
        QFETCH(Search, search);
        CodeDecoder decoder(m_shop->db());
        QTEST(describe(decoder.decode(code, search)), "expected");
    }

    void theLineKeepsItsArticleAndFollowsTheTables() {
        ShopFixture f;
        addCodeData(f);
        CodeDecoder decoder(f.db());
        const DecodedCode decoded = decoder.decode(QStringLiteral("800003"), Search::ArticleCodes);
        QVERIFY(std::holds_alternative<CodedLine>(decoded));
        QCOMPARE(decoder.article().asString(QStringLiteral("DESCRIZION")).trimmed(),
                 QStringLiteral("VECCHIO"));
        QCOMPARE(std::get<CodedLine>(decoded).code.text, QStringLiteral("800003"));

        // A stock row of a colour given to the accessory after the decoder
        // opened: the next code sees it.
        QCOMPARE(describe(decoder.decode(QStringLiteral("800002"), Search::ArticleCodes)),
                 QStringLiteral("line 2 - 1 38"));
        f.add(QStringLiteral("ARCARTTG"),
              {{QStringLiteral("ARTCODE"), 2}, {QStringLiteral("COLORE"), QStringLiteral("BLU")}});
        decoder.open();
        QCOMPARE(describe(decoder.decode(QStringLiteral("800002"), Search::ArticleCodes)),
                 QStringLiteral("line 2 - 1 38 choose colour"));
        // A stock row without a colour name stocks nothing by colour.
        f.add(QStringLiteral("ARCARTTG"),
              {{QStringLiteral("ARTCODE"), 3}, {QStringLiteral("TG1"), 4}});
        QCOMPARE(describe(decoder.decode(QStringLiteral("800003"), Search::ArticleCodes)),
                 QStringLiteral("line 3 - 1 38"));
        decoder.close();
        // Closed, the next code opens the tables again.
        QCOMPARE(describe(decoder.decode(QStringLiteral("800001102"), Search::ArticleCodes)),
                 QStringLiteral("line 1 BLU 1 38"));
    }
};

QTEST_GUILESS_MAIN(TestCodeDecoder)
#include "tst_codedecoder.moc"
