#include "register/RchRtCommands.h"

#include "register/RchGlobeProtocol.h"
#include "register/RegisterText.h"

#include <cmath>

namespace corvale {

namespace {

constexpr char STX = RegisterProtocol::STX;
constexpr char ETX = RegisterProtocol::ETX;
constexpr char ACK = RegisterProtocol::ACK;
constexpr char NAK = 0x15;

QByteArray quoteText(const FiscalDocumentRef &quoted) {
    return "/&" + quoted.dateTime.date().toString(QStringLiteral("ddMMyy")).toLatin1() + '/' +
           QByteArray::number(quoted.closure).rightJustified(4, '0') + '/' +
           QByteArray::number(quoted.number).rightJustified(4, '0');
}

bool digits(QByteArrayView text) {
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return !text.isEmpty();
}

} // namespace

QByteArray RchRtCommands::centsText(Money amount) {
    return QByteArray::number(amount.cents());
}

QByteArray RchRtCommands::quantityText(double quantity) {
    return RegisterText::decimalPoint(quantity).toLatin1();
}

QByteArray RchRtCommands::text(const QString &text, int width) {
    QByteArray out;
    for (QChar c : text.normalized(QString::NormalizationForm_D)) {
        const char16_t u = c.unicode();
        if (u >= 0x0300 && u <= 0x036f)
            continue; // the accent of a letter decomposed above
        if (u == 0x20ac) {
            out += "EUR"; // the register prints ASCII only
            continue;
        }
        out += u < 0x20 || u >= 0x7f || u == u')' ? ' ' : char(u);
    }
    return out.trimmed().left(width);
}

int RchRtCommands::tenderNumber(PaymentType type) {
    switch (type) {
    case PaymentType::Cash:
        return 1;
    case PaymentType::Card:
        return 3;
    case PaymentType::Voucher:
        return 4;
    }
    return 1;
}

QList<QByteArray> RchRtCommands::receipt(const FiscalDocument &document, const RtFigures &figures) {
    using K = FiscalDocument::Kind;
    QList<QByteArray> out{"=K"};
    if (document.kind != K::Sale && document.quoted)
        out << (document.kind == K::Void ? "=k" : "=r") + quoteText(*document.quoted);
    if (document.kind != K::Void) {
        for (const RtLine &line : figures.lines) {
            QByteArray item =
                "=R" + QByteArray::number(line.department) + "/$" + centsText(line.unitPrice);
            if (line.quantity != 1)
                item += "/*" + quantityText(line.quantity);
            out << item + "/(" + text(line.description, textWidth) + ')';
            // The discount in cents, so that the register's total is the sale's.
            // A campaign's reduction says what it is, and the previous price
            // follows as a line of text (to be verified on a device).
            if (!line.discount.isZero()) {
                QByteArray discount = "=V-/*" + centsText(line.discount);
                if (line.reduced)
                    discount += "/(" +
                                text(reductionDescription(line.campaign, int(line.discountPercent),
                                                          textWidth),
                                     textWidth) +
                                ')';
                out << discount;
            }
            if (!line.note.isEmpty())
                out << "=\"/(" + text(line.note, textWidth) + ')';
        }
        out << "=S";
        if (figures.subtotalDiscount > Money())
            out << "=V-/*" + centsText(figures.subtotalDiscount);
        else if (figures.subtotalDiscount < Money())
            out << "=V+/*" + centsText(-figures.subtotalDiscount);
        if (!document.lotteryCode.isEmpty())
            out << "=\"/?L/$1/(" + text(document.lotteryCode, 8) + ')';
        if (!document.customerTaxCode.isEmpty())
            out << "=\"/?C/(" + text(document.customerTaxCode, 16) + ')';
        for (const Tender &t : document.tenders) {
            Money paid = t.amount;
            // The register works out the change on the cash handed over.
            if (t.type == PaymentType::Cash && document.cashGiven &&
                Money::of(*document.cashGiven) > paid)
                paid = Money::of(*document.cashGiven);
            out << "=T" + QByteArray::number(tenderNumber(t.type)) + "/$" + centsText(paid);
        }
    }
    out << "=c" << lastDocumentQuery();
    return out;
}

QList<QByteArray> RchRtCommands::report(FiscalDevice::Report report) {
    // Z: the closure key, the daily closure, back to the sale key. The X
    // reading takes the reading key the same way (to be verified on a device).
    return {"=K", report == FiscalDevice::Report::Z ? "=C3" : "=C2", "=C10", "=C1", "=K"};
}

QByteArray RchRtCommands::join(const QList<QByteArray> &commands) {
    return commands.join('\n');
}

QList<QByteArray> RchRtCommands::split(const QByteArray &request) {
    QList<QByteArray> out;
    for (const QByteArray &line : request.split('\n'))
        if (!line.isEmpty())
            out << line;
    return out;
}

QString RchRtCommands::errorCode(char cls, const QByteArray &code) {
    if (cls == 'P')
        return QStringLiteral("EPTR_REC_EMPTY");
    if (cls == 'S' && code == "0020")
        return QStringLiteral("EPTR_COVER_OPEN");
    if (cls == 'S' && code == "0045")
        return QStringLiteral("RT_CLOSURE_OVERDUE");
    if (cls == 'G' && code == "0011")
        return QStringLiteral("RT_BAD_LOTTERY");
    return QStringLiteral("RCH %1%2").arg(QChar(cls), QString::fromLatin1(code));
}

RtAnswer RchRtCommands::parse(const QByteArray &answers) {
    RtAnswer out;
    if (answers.size() > 1 << 20)
        return RtAnswer();
    QByteArray date;
    QByteArray time;
    bool any = false;
    for (const QByteArray &line : answers.split('\n')) {
        if (line.isEmpty())
            continue;
        any = true;
        const char cls = line.at(0);
        if (line.size() < statusSize || cls < 'A' || cls > 'Z' ||
            !digits(QByteArrayView(line).sliced(1, statusSize - 1)))
            return RtAnswer();
        out.printerStatus = QString::fromLatin1(line.left(statusSize));
        if (cls != 'N') {
            out.kind = RtAnswer::Kind::Refused;
            out.code = errorCode(cls, line.mid(1, 4));
            return out;
        }
        const QByteArray fields = line.mid(statusSize);
        if (fields.isEmpty())
            continue;
        if (!fields.startsWith('/'))
            return RtAnswer();
        for (const QByteArray &field : fields.mid(1).split('/')) {
            if (field.isEmpty())
                return RtAnswer();
            const char tag = field.at(0);
            const QByteArray value = field.mid(1);
            auto number = [&](int *into) {
                if (!digits(value) || value.size() > 9)
                    return false;
                *into = value.toInt();
                return true;
            };
            bool ok = true;
            switch (tag) {
            case 'Z':
                ok = number(&out.closure);
                break;
            case 'N':
                ok = number(&out.documentNumber);
                break;
            case 'D':
                date = value;
                ok = value.size() == 6 && digits(value);
                break;
            case 'H':
                time = value;
                ok = value.size() == 6 && digits(value);
                break;
            case 'A':
            case 'T': {
                const QByteArrayView magnitude =
                    value.startsWith('-') ? QByteArrayView(value).sliced(1) : value;
                ok = digits(magnitude) && magnitude.size() <= 15;
                // The day's total of a report outweighs its last document.
                if (ok && (tag == 'T' || !out.hasAmount)) {
                    out.amount = Money::fromCents(value.toLongLong());
                    out.hasAmount = true;
                }
                break;
            }
            case 'M':
                out.serial = QString::fromLatin1(value.left(20));
                break;
            default:
                break; // fields of later firmware: not ours to read
            }
            if (!ok)
                return RtAnswer();
        }
    }
    if (!any)
        return RtAnswer();
    if (!date.isEmpty()) {
        const QDate d = QDate::fromString(QString::fromLatin1(date), QStringLiteral("ddMMyy"));
        const QTime t = QTime::fromString(QString::fromLatin1(time), QStringLiteral("HHmmss"));
        if (d.isValid())
            out.dateTime =
                QDateTime(d.addYears(d.year() < 2000 ? 100 : 0), t.isValid() ? t : QTime(0, 0));
    }
    out.kind = RtAnswer::Kind::Accepted;
    return out;
}

QByteArray RchRtCommands::frame(int sequence, const QByteArray &data) {
    return RchGlobeProtocol::frame(sequence, data);
}

int RchRtCommands::answerSequence(int sequence) {
    return ('0' + sequence % 10) % 10;
}

RchRtCommands::Taken RchRtCommands::take(const QByteArray &buffer) {
    Taken t;
    if (buffer.isEmpty())
        return t;
    const char first = buffer.at(0);
    if (first == ACK || first == NAK) {
        t.kind = first == ACK ? Taken::Kind::Ack : Taken::Kind::Nak;
        t.used = 1;
        return t;
    }
    if (first != STX) {
        t.kind = Taken::Kind::Noise;
        t.used = 1;
        return t;
    }
    const qsizetype etx = buffer.indexOf(ETX, 1);
    const qsizetype nextStx = buffer.indexOf(STX, 1);
    if (nextStx >= 0 && (etx < 0 || nextStx < etx)) {
        // A frame cut short by a new one.
        t.kind = Taken::Kind::Bad;
        t.used = nextStx;
        return t;
    }
    if (etx < 0) {
        if (buffer.size() >= frameLimit) {
            t.kind = Taken::Kind::Bad;
            t.used = buffer.size();
        }
        return t;
    }
    t.used = etx + 1;
    t.kind = Taken::Kind::Bad;
    const QByteArrayView f(buffer.constData(), etx + 1);
    if (f.size() < 11 || f.at(6) != 'N' || !digits(f.sliced(1, 2)) || !digits(f.sliced(3, 3)))
        return t;
    const QByteArrayView data = f.sliced(7, f.size() - 11);
    if (f.sliced(3, 3).toByteArray().toInt() != data.size())
        return t;
    for (char c : data)
        if (c < 0x20 || c > 0x7e)
            return t;
    const char seq = f.at(f.size() - 4);
    if (seq < '0' || seq > '9')
        return t;
    unsigned char x = 0;
    for (char c : f.first(f.size() - 3))
        x ^= static_cast<unsigned char>(c);
    if (QByteArray::number(x, 16).toUpper().rightJustified(2, '0') != f.sliced(f.size() - 3, 2))
        return t;
    t.kind = Taken::Kind::Frame;
    t.data = data.toByteArray();
    t.sequence = seq - '0';
    return t;
}

} // namespace corvale
