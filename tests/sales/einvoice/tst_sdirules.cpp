#include "sales/einvoice/EInvoiceSample.h"

#include "sales/einvoice/EInvoiceXml.h"
#include "sales/einvoice/SchemaValidator.h"
#include "sales/einvoice/SdiRules.h"

#include <QRegularExpression>
#include <QTest>

using namespace corvale;

namespace {

// A line at 22 % with a discount and one without VAT (nature N4).
QString baseFile() {
    static const QString xml = QString::fromUtf8(EInvoiceXml::write(
        sampleInvoice({{2, 19.99, 10, 2200, {}}, {1, 45.5, 0, 0, QStringLiteral("N4")}})));
    return xml;
}

// Replaces the first (or last) match of `pattern`.
QString replaced(const QString &text, const QString &pattern, const QString &with, bool last) {
    const QRegularExpression re(pattern);
    QRegularExpressionMatch match;
    if (last) {
        auto it = re.globalMatch(text);
        while (it.hasNext())
            match = it.next();
    } else {
        match = re.match(text);
    }
    if (!match.hasMatch())
        return text;
    QString out = text;
    out.replace(match.capturedStart(), match.capturedLength(), with);
    return out;
}

QStringList codesOf(const QList<SdiRules::Problem> &problems) {
    QStringList out;
    for (const auto &p : problems)
        out << p.code;
    return out;
}

} // namespace

class TestSdiRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theSampleIsAccepted() {
        const QByteArray xml = baseFile().toUtf8();
        QVERIFY(SdiRules::check(xml).isEmpty());
        QCOMPARE(SchemaValidator().validate(xml), QStringList());
    }

    void eachRule_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("with");
        QTest::addColumn<bool>("last");
        QTest::addColumn<QString>("code");
        const QString natura = QStringLiteral("<Natura>N4</Natura>");
        QTest::newRow("00400 line at 0 % without nature") << natura << "" << false << "00400";
        QTest::newRow("00401 line with VAT and a nature")
            << "<AliquotaIVA>22.00</AliquotaIVA>"
            << "<AliquotaIVA>22.00</AliquotaIVA><Natura>N4</Natura>" << false << "00401";
        QTest::newRow("00417 customer without codes") << "<CodiceFiscale>[A-Z0-9]+</CodiceFiscale>"
                                                      << "" << false << "00417";
        QTest::newRow("00419 rate without summary")
            << "<AliquotaIVA>22.00</AliquotaIVA>"
            << "<AliquotaIVA>10.00</AliquotaIVA>" << true << "00419";
        QTest::newRow("00421 tax off the rate") << "<Imposta>[0-9.]+</Imposta>"
                                                << "<Imposta>99.99</Imposta>" << false << "00421";
        QTest::newRow("00422 taxable off the lines")
            << "<ImponibileImporto>[0-9.]+</ImponibileImporto>"
            << "<ImponibileImporto>10.00</ImponibileImporto>" << false << "00422";
        QTest::newRow("00423 line total off")
            << "<PrezzoTotale>[0-9.]+</PrezzoTotale>"
            << "<PrezzoTotale>1.00</PrezzoTotale>" << false << "00423";
        QTest::newRow("00425 number without digits") << "<Numero>7</Numero>"
                                                     << "<Numero>A</Numero>" << false << "00425";
        QTest::newRow("00426 PEC with a recipient code")
            << "<CodiceDestinatario>0000000</CodiceDestinatario>"
            << "<CodiceDestinatario>ABC1234</CodiceDestinatario>"
               "<PECDestinatario>cliente@pec.it</PECDestinatario>"
            << false << "00426";
        QTest::newRow("00427 six characters")
            << "<CodiceDestinatario>0000000</CodiceDestinatario>"
            << "<CodiceDestinatario>ABC123</CodiceDestinatario>" << false << "00427";
        QTest::newRow("00428 format and version") << "versione=\"FPR12\""
                                                  << "versione=\"FPA12\"" << false << "00428";
        QTest::newRow("00429 summary at 0 % without nature") << natura << "" << true << "00429";
        QTest::newRow("00430 summary with VAT and a nature")
            << "<AliquotaIVA>22.00</AliquotaIVA>"
            << "<AliquotaIVA>22.00</AliquotaIVA><Natura>N4</Natura>" << true << "00430";
        QTest::newRow("00437 document discount without amount")
            << "<ImportoTotaleDocumento>"
            << "<ScontoMaggiorazione><Tipo>SC</Tipo></ScontoMaggiorazione><ImportoTotaleDocumento>"
            << false << "00437";
        QTest::newRow("00438 line discount without amount") << "<Percentuale>10.00</Percentuale>"
                                                            << "" << false << "00438";
        QTest::newRow("00443 summary without lines")
            << "</DatiBeniServizi>"
            << "<DatiRiepilogo><AliquotaIVA>10.00</AliquotaIVA><ImponibileImporto>0.00</"
               "ImponibileImporto><Imposta>0.00</Imposta></DatiRiepilogo></DatiBeniServizi>"
            << false << "00443";
        QTest::newRow("00444 natures apart")
            << natura << "<Natura>N3.1</Natura>" << true << "00444";
        QTest::newRow("00445 nature without sub-code")
            << natura << "<Natura>N2</Natura>" << false << "00445";
    }
    void eachRule() {
        QFETCH(QString, pattern);
        QFETCH(QString, with);
        QFETCH(bool, last);
        QFETCH(QString, code);
        const QString xml = replaced(baseFile(), pattern, with, last);
        QVERIFY2(xml != baseFile(), "the case changes nothing");
        const QStringList codes = codesOf(SdiRules::check(xml.toUtf8()));
        QVERIFY2(codes.contains(code), qPrintable(codes.join(u' ')));
        QVERIFY(SdiRules::codes().contains(code));
    }

    void messagesNameTheField() {
        QString xml = replaced(
            baseFile(), QStringLiteral("<CodiceFiscale>[A-Z0-9]+</CodiceFiscale>"), {}, false);
        auto problems = SdiRules::check(xml.toUtf8());
        QCOMPARE(problems.size(), 1);
        QCOMPARE(problems[0].message,
                 QStringLiteral("Manca il codice fiscale o la partita IVA del cliente: compilare "
                                "\"Codice fiscale\" o \"Partita IVA\" nella scheda del cliente."));
        xml = replaced(baseFile(), QStringLiteral("<CodiceDestinatario>0000000"),
                       QStringLiteral("<CodiceDestinatario>ABC123"), false);
        problems = SdiRules::check(xml.toUtf8());
        QCOMPARE(problems.size(), 1);
        QVERIFY(
            problems[0].message.startsWith(QStringLiteral("Codice destinatario di 7 caratteri")));
    }

    void notXml() {
        const auto problems = SdiRules::check("<p:FatturaElettronica");
        QCOMPARE(problems.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSdiRules)
#include "tst_sdirules.moc"
