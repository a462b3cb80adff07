#include "SimulatedRchRt.h"

#include <QRegularExpression>

#include <cmath>
#include <utility>

namespace corvale::sim {

namespace {

// "/$2990/*2.00/(MAGLIA)" after the command letters: the parts behind '/'.
QList<QByteArray> parts(const QByteArray &command, int from) {
    QList<QByteArray> out;
    QByteArray rest = command.mid(from);
    while (!rest.isEmpty()) {
        if (!rest.startsWith('/'))
            return {};
        rest.remove(0, 1);
        if (rest.startsWith('(')) {
            const qsizetype close = rest.indexOf(')');
            if (close < 0)
                return {};
            out << rest.left(close + 1);
            rest.remove(0, close + 1);
        } else {
            const qsizetype slash = rest.indexOf('/');
            out << (slash < 0 ? rest : rest.left(slash));
            rest = slash < 0 ? QByteArray() : rest.mid(slash);
        }
    }
    return out;
}

std::optional<qint64> cents(const QByteArray &text) {
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < 0 || v > 99999999)
        return std::nullopt;
    return v;
}

QByteArray two(int v) {
    return QByteArray::number(v).rightJustified(2, '0');
}

} // namespace

SimulatedRchRt::SimulatedRchRt() {
    setSerial(QStringLiteral("80RCH000001"));
}

QList<SimulatedRchRt::Document> SimulatedRchRt::giftReceipts() const {
    QList<Document> out;
    for (const Document &d : documents())
        if (d.kind == Document::Kind::GiftReceipt)
            out << d;
    return out;
}

// The last document again without prices: refused when the closure has
// none yet, or with the register in a report key.
SimulatedRchRt::Result SimulatedRchRt::giftReceipt() {
    if (m_key != Key::Sale || lastNumber() == 0)
        return error(badDocument);
    Document copy;
    copy.kind = Document::Kind::GiftReceipt;
    copy.number = lastNumber();
    copy.closure = closure();
    copy.when = now();
    copy.total = lastAmount();
    copy.commands << "=C453/$2";
    keepCopy(copy);
    return ok();
}

SimulatedRchRt::Result SimulatedRchRt::ok(const QByteArray &fields) const {
    Result r;
    r.data = "N0000" + two(m_open ? 1 : 0) + '0' + fields;
    return r;
}

SimulatedRchRt::Result SimulatedRchRt::error(const QByteArray &status) {
    Result r;
    r.data = status + two(m_open ? 1 : 0) + '0';
    return r;
}

bool SimulatedRchRt::open(Document::Kind kind, const QByteArray &command, QByteArray *refusal) {
    if (Core::closureOverdue()) {
        *refusal = SimulatedRchRt::closureOverdue;
        return false;
    }
    Document d;
    d.kind = kind;
    d.commands << command;
    m_open = d;
    m_lastItem = Money();
    m_subtotal = false;
    m_paid = Money();
    m_nonCash = Money();
    return true;
}

SimulatedRchRt::Result SimulatedRchRt::handle(const QByteArray &command) {
    m_log << command;
    if (m_open && command != "=K" && command != "=?U")
        m_open->commands << command;
    if (command == "=K") {
        m_open.reset(); // clears what was typed, an open receipt included
        return ok();
    }
    if (command == "=?U") {
        if (takeSilentQuery()) {
            Result r;
            r.silent = true;
            return r;
        }
        const QDateTime when = lastWhen();
        return ok("/Z" + QByteArray::number(closure()).rightJustified(4, '0') + "/N" +
                  QByteArray::number(lastNumber()).rightJustified(4, '0') + "/D" +
                  when.toString(QStringLiteral("ddMMyy")).toLatin1() + "/H" +
                  when.toString(QStringLiteral("HHmmss")).toLatin1() + "/A" +
                  QByteArray::number(lastAmount().cents()) + "/M" + serial().toLatin1());
    }
    if (command.startsWith("=C")) {
        if (m_open)
            return error(badDocument);
        if (command == "=C1")
            m_key = Key::Sale;
        else if (command == "=C2")
            m_key = Key::XReport;
        else if (command == "=C3")
            m_key = Key::ZReport;
        else if (command == "=C10")
            return report();
        else if (command == "=C453/$2")
            return giftReceipt();
        else
            return error(unknownCommand);
        return ok();
    }
    if (m_key != Key::Sale)
        return error(badDocument);
    if (command.startsWith("=r/&") || command.startsWith("=k/&")) {
        static const QRegularExpression quote(
            QStringLiteral("^=[rk]/&(\\d{6})/(\\d{1,4})/(\\d{1,4})$"));
        const auto m = quote.match(QString::fromLatin1(command));
        if (m_open || !m.hasMatch())
            return error(badDocument);
        QByteArray refusal;
        if (!open(command.at(1) == 'k' ? Document::Kind::Void : Document::Kind::Return, command,
                  &refusal))
            return error(refusal);
        m_open->quoted = command.mid(4);
        return ok();
    }
    if (command.startsWith("=R")) {
        const qsizetype slash = command.indexOf('/');
        bool deptOk = false;
        const int dept = command.mid(2, slash - 2).toInt(&deptOk);
        const QList<QByteArray> p = parts(command, int(slash));
        if (slash < 0 || !deptOk || dept < 1 || dept > 99 || p.size() < 2 ||
            !p.first().startsWith('$') || !p.last().startsWith('('))
            return error(badDocument);
        const auto price = cents(p.first().mid(1));
        double qty = 1;
        if (p.size() == 3) {
            bool qtyOk = false;
            qty = p.at(1).startsWith('*') ? p.at(1).mid(1).toDouble(&qtyOk) : 0;
            if (!qtyOk || qty <= 0 || qty > 99999)
                return error(badDocument);
        }
        if (!price || p.size() > 3 ||
            (m_open && (m_open->kind == Document::Kind::Void || m_subtotal || !m_paid.isZero())))
            return error(badDocument);
        QByteArray refusal;
        if (!m_open && !open(Document::Kind::Sale, command, &refusal))
            return error(refusal);
        m_lastItem = Money::fromCents(std::llround(double(*price) * qty));
        m_open->total += m_lastItem;
        return ok();
    }
    if (!m_open)
        return error(badDocument);
    if (command.startsWith("=V-/*") || command.startsWith("=V+/*") || command.startsWith("=%-/*")) {
        Money amount;
        if (command.at(1) == '%') {
            bool pctOk = false;
            const double pct = command.mid(5).toDouble(&pctOk);
            if (!pctOk || pct <= 0 || pct > 100)
                return error(badDocument);
            const Money base = m_subtotal ? m_open->total : m_lastItem;
            amount = Money::fromCents(std::llround(double(base.cents()) * pct / 100));
        } else {
            // "=V-/*150" or, described, "=V-/*150/(SALDI -30%)".
            QByteArray value = command.mid(5);
            if (const qsizetype text = value.indexOf("/("); text >= 0) {
                if (!value.endsWith(')') || command.at(2) != '-')
                    return error(badDocument);
                m_open->texts << QString::fromLatin1(value.mid(text + 2, value.size() - text - 3));
                value.truncate(text);
            }
            const auto c = cents(value);
            if (!c)
                return error(badDocument);
            amount = Money::fromCents(*c);
        }
        if (command.at(2) == '-' && amount > (m_subtotal ? m_open->total : m_lastItem))
            return error(badDocument);
        m_open->total += command.at(2) == '+' ? amount : -amount;
        return ok();
    }
    if (command == "=S") {
        m_subtotal = true;
        return ok();
    }
    if (command.startsWith("=\"/?L/$1/(") && command.endsWith(')')) {
        static const QRegularExpression lottery(QStringLiteral("^[A-Z0-9]{8}$"));
        const QString code = QString::fromLatin1(command.mid(10, command.size() - 11));
        if (!lottery.match(code).hasMatch())
            return error(badLottery);
        m_open->lottery = code;
        return ok();
    }
    if (command.startsWith("=\"/?C/(") && command.endsWith(')')) {
        m_open->taxCode = QString::fromLatin1(command.mid(7, command.size() - 8));
        return ok();
    }
    if (command.startsWith("=\"/(") && command.endsWith(')')) {
        m_open->texts << QString::fromLatin1(command.mid(4, command.size() - 5));
        return ok();
    }
    if (command.startsWith("=T")) {
        const qsizetype slash = command.indexOf('/');
        bool tenderOk = false;
        const int tender = command.mid(2, slash - 2).toInt(&tenderOk);
        const auto paid = slash > 0 && command.mid(slash, 2) == "/$" ? cents(command.mid(slash + 2))
                                                                     : std::nullopt;
        if (!tenderOk || tender < 1 || tender > 10 || !paid)
            return error(badDocument);
        // value_or rather than *: GCC's cross compiler takes the checked
        // optional for an uninitialised one.
        const Money amount = Money::fromCents(paid.value_or(0));
        m_paid += amount;
        if (tender != 1)
            m_nonCash += amount;
        return ok();
    }
    if (command == "=c") {
        if (m_silentAfterClose > 0)
            silenceQueries(std::exchange(m_silentAfterClose, 0));
        return close();
    }
    return error(unknownCommand);
}

SimulatedRchRt::Result SimulatedRchRt::close() {
    const Fault fault = takeFault();
    if (fault == Fault::NoAnswer) {
        Result r;
        r.silent = true;
        return r;
    }
    if (fault == Fault::PaperOut)
        return error(paperOut);
    if (fault == Fault::CoverOpen)
        return error(coverOpen);
    Document doc = *m_open;
    // The change comes from the cash only; a void needs no payment.
    if (doc.kind != Document::Kind::Void && (m_paid < doc.total || m_nonCash > doc.total))
        return error(badDocument);
    m_open.reset();
    keepPrinted(doc);
    Result r = ok();
    r.drop = fault == Fault::LostAfterPrint;
    r.corrupt = fault == Fault::MalformedFrame;
    return r;
}

SimulatedRchRt::Result SimulatedRchRt::report() {
    if (m_key == Key::Sale)
        return error(badDocument);
    Document doc;
    doc.kind = m_key == Key::ZReport ? Document::Kind::ZReport : Document::Kind::XReport;
    Core::report(doc);
    // The answer tells the closure the report belongs to and the day's total.
    const Result r =
        ok("/Z" + QByteArray::number(closure()).rightJustified(4, '0') + "/T" +
           QByteArray::number(documents().last().total.cents()) + "/M" + serial().toLatin1());
    if (doc.kind == Document::Kind::ZReport)
        closeDay();
    return r;
}

} // namespace corvale::sim
