#include "shell/CommonRoutines.h"

#include "db/Database.h"
#include "db/Table.h"
#include "platform/Formats.h"
#include "printing/PageCanvas.h"
#include "shell/Shop.h"
#include "shell/ShopFiscalColumns.h"

#include <QImage>
#include <stdexcept>

namespace corvale {

namespace {

// Closes a handle however the routine leaves.
struct Closer {
    db::Table &table;
    ~Closer() { table.close(); }
};

const QString kCounters = QStringLiteral("COUNTERS.DBF");
const QString kConfig = QStringLiteral("CONFIG.DBF");

} // namespace

CommonRoutines::CommonRoutines(Shop &shop)
    : m_shop(shop) {}

CommonRoutines::~CommonRoutines() = default;

int CommonRoutines::NextCounter(const QString &name, bool store) {
    db::Table counters(m_shop.database());
    counters.setTableName(kCounters);
    counters.open();
    Closer closer{counters};
    int result;
    counters.first();
    if (counters.eof()) {
        counters.append();
        counters.setInteger(name, 0);
        counters.post();
        result = 1;
    } else {
        result = int(counters.asInteger(name)) + 1;
    }
    if (store) {
        counters.first();
        counters.edit();
        counters.setInteger(name, result);
        counters.post();
    }
    return result;
}

void CommonRoutines::SetCounter(const QString &name, qint64 value) {
    db::Table counters(m_shop.database());
    counters.setTableName(kCounters);
    counters.open();
    Closer closer{counters};
    counters.first();
    if (counters.eof())
        counters.append();
    else
        counters.edit();
    counters.setInteger(name, value);
    counters.post();
}

int CommonRoutines::NextYearNumber(const QString &table) {
    const QString year = QString::number(m_shop.clock().today().year());
    const QString k1 = DateKey(QStringLiteral("01/01/") + year);
    const QString k2 = DateKey(QStringLiteral("31/12/") + year);
    db::Table documents(m_shop.database());
    documents.setTableName(table);
    documents.setIndexName(QStringLiteral("NUMDOC"));
    documents.open();
    Closer closer{documents};
    documents.setFilter(QStringLiteral("((MYDATA >= '") + k1 +
                        QStringLiteral("') AND (MYDATA <= '") + k2 + QStringLiteral("'))"));
    documents.setFiltered(true);
    documents.last();
    if (documents.eof() && documents.bof())
        return 1;
    return int(documents.asInteger(QStringLiteral("NUMDOC"))) + 1;
}

QString CommonRoutines::DateKey(const QString &text) {
    const auto date = Formats::parseDate(text);
    if (!date)
        return QStringLiteral("errore");
    QString key = date->toString(QStringLiteral("yyyyMMdd"));
    if (key.size() != 8)
        return QStringLiteral("errore");
    if (key.startsWith(QLatin1String("19")))
        key.replace(0, 2, QStringLiteral("20"));
    return key;
}

QString CommonRoutines::QuoteSql(const QString &text) {
    QString out;
    out.reserve(text.size() + 2);
    for (const QChar c : text) {
        out += c;
        if (c == u'\'')
            out += u'\'';
    }
    return out;
}

QString CommonRoutines::TrimLeading(const QString &text) {
    return Formats::trimLeading(text);
}

QString CommonRoutines::PadCode5(const QString &text) {
    QString out = text;
    if (!out.isEmpty() && out.size() < 5)
        out.prepend(QString(5 - out.size(), u'0'));
    return out.size() == 5 ? out + u' ' : QString();
}

QString CommonRoutines::EanCheckDigit(const QString &text) {
    int sum = 0;
    for (int i = 0; i < 12; ++i) {
        if (i >= text.size() || !text[i].isDigit() || text[i].unicode() > '9')
            throw std::invalid_argument(QStringLiteral("'%1' non è un valore intero valido")
                                            .arg(i < text.size() ? QString(text[i]) : QString())
                                            .toStdString());
        const int d = text[i].unicode() - '0';
        sum += (i % 2 == 0) ? d : 3 * d;
    }
    const int check = (10 - sum % 10) % 10;
    return text + QChar(u'0' + check);
}

int CommonRoutines::AskCopies() {
    IniFile &ini = m_shop.ini();
    const int current = ini.readInteger(QStringLiteral("GENERALI"), QStringLiteral("NUMCOPIE"), 1);
    const auto answer =
        m_shop.prompter().input(QStringLiteral("Stampa Documento"), QStringLiteral("Numero Copie"),
                                QString::number(current));
    if (!answer)
        return 0;
    bool ok = false;
    int copies = answer->trimmed().toInt(&ok);
    if (!ok)
        copies = 1;
    if (copies > 5)
        copies = 5;
    ini.writeInteger(QStringLiteral("GENERALI"), QStringLiteral("NUMCOPIE"), copies);
    return copies;
}

void CommonRoutines::LoadShopTexts() {
    db::Table config(m_shop.database());
    config.setTableName(kConfig);
    config.open();
    Closer closer{config};
    config.first();
    if (config.eof())
        return;
    ShopTexts &t = m_shop.texts();
    const QString ragione = config.asString(shopFiscal::name);
    const QString ragion2 = config.asString(shopFiscal::name2);
    t.shopLine = ragione + u' ' + ragion2 + u' ' + config.asString(shopFiscal::city);
    t.shopCaptionLine = t.shopLine;
    const qsizetype amp = t.shopCaptionLine.indexOf(u'&');
    if (amp >= 0)
        t.shopCaptionLine.insert(amp + 1, u'&');
    t.nameLine1 = ragione;
    t.nameLine2 = ragion2;
    t.vatNumber = config.asString(shopFiscal::vatNumber);
    t.vatLine = QStringLiteral("P.IVA ") + t.vatNumber;
    t.phoneLine = QStringLiteral("Tel ") + config.asString(shopFiscal::phone) +
                  QStringLiteral(" Fax ") + config.asString(shopFiscal::fax);
    t.pointsPerEuro = config.asFloat(shopFiscal::pointsPerEuro);
    t.vatPercent = config.asFloat(shopFiscal::vatRate);
    t.privacyText = config.asString(shopFiscal::privacy);
    t.noteText = config.asString(shopFiscal::note);
}

int CommonRoutines::PrintCompanyHeader(PageCanvas &canvas, int y) {
    QString ragione, ragion2, address, citta, piva, tel, fax;
    bool isLogo = false;
    QByteArray logo;
    {
        db::Table config(m_shop.database());
        config.setTableName(kConfig);
        config.open();
        Closer closer{config};
        config.first();
        if (!config.eof()) {
            ragione = config.asString(shopFiscal::name);
            ragion2 = config.asString(shopFiscal::name2);
            address = config.asString(shopFiscal::address);
            citta = config.asString(shopFiscal::city);
            piva = config.asString(shopFiscal::vatNumber);
            tel = config.asString(shopFiscal::phone);
            fax = config.asString(shopFiscal::fax);
            isLogo = config.asBool(shopFiscal::hasLogo);
            if (isLogo)
                logo = config.asBlob(shopFiscal::logo);
        }
    }
    m_creditText = QStringLiteral("Stampato con CORVALE QUIRA - gestione negozio");

    const int q = canvas.pageWidth() / 4;
    auto centred = [&](const QString &text, int at) { canvas.textOutCentred(q, at, text); };
    CanvasFont font;
    font.name = QStringLiteral("arial");
    font.size = 10;
    canvas.setFont(font);

    if (isLogo) {
        const int d = canvas.textHeight(QStringLiteral("X"));
        int h = canvas.pageWidth() / 2;
        h = h - h / 6;
        const int e = h / 2;
        const QImage picture = QImage::fromData(logo);
        if (!picture.isNull())
            canvas.stretchDraw(QRect(QPoint(q - e, y - 2 * d), QPoint(q + e, y - 2 * d + e)),
                               picture);
        return y - 2 * d + e;
    }

    font.size = 14;
    font.bold = true;
    canvas.setFont(font);
    int line = canvas.textHeight(QStringLiteral("X"));
    centred(ragione, y);
    y += line;
    font.size = 10;
    font.bold = false;
    canvas.setFont(font);
    centred(ragion2, y);
    y += line; // still the height of the larger name line
    line = canvas.textHeight(QStringLiteral("X"));
    centred(address, y);
    y += line;
    centred(citta, y);
    y += line;
    centred(QStringLiteral("P.IVA ") + piva, y);
    y += line;
    QString phone;
    if (!tel.isEmpty())
        phone = QStringLiteral("Tel ") + tel;
    if (!fax.isEmpty())
        phone += QStringLiteral(" Fax ") + fax;
    if (!phone.isEmpty()) {
        centred(phone, y);
        y += line;
    }
    canvas.setFont(font);
    return y + line;
}

} // namespace corvale
