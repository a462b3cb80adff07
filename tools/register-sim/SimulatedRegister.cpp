#include "SimulatedRegister.h"

namespace corvale::sim {

using namespace line;

namespace {

unsigned byteSum(QByteArrayView bytes) {
    unsigned sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    return sum;
}

QByteArray twoDigits(unsigned value) {
    return QByteArray::number(value % 100).rightJustified(2, '0');
}

QByteArray hex(unsigned value, int width) {
    return QByteArray::number(value, 16).toUpper().rightJustified(width, '0');
}

// Control bytes as <NAME>, everything else as it is.
QString printable(const QByteArray &bytes) {
    static const char *names[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                    "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                    "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                    "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    QString out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 32)
            out += QLatin1Char('<') + QLatin1String(names[b]) + QLatin1Char('>');
        else if (b >= 0x7F)
            out += QStringLiteral("<%1>").arg(b, 2, 16, QLatin1Char('0'));
        else
            out += QLatin1Char(c);
    }
    return out;
}

// The receipt state a Globe register reports in its status block.
enum class GlobeReceiptState { Idle = 0, Open = 1 };

QByteArray mizarBlock(const QByteArray &text) {
    QByteArray out = STX + text + ETX;
    out += char(byteXor(out));
    return out;
}

} // namespace

SimulatedRegister::SimulatedRegister(Protocol protocol, Options options)
    : m_protocol(protocol)
    , m_options(options)
    , m_random(options.seed ? options.seed : 1) {}

std::optional<SimulatedRegister::Protocol>
SimulatedRegister::protocolFromName(const QString &name) {
    const QString n = name.toLower();
    if (n == u"ela")
        return Protocol::Ela;
    if (n == u"dataprocess")
        return Protocol::Dataprocess;
    if (n == u"epson")
        return Protocol::Epson;
    if (n == u"rch-globe")
        return Protocol::RchGlobe;
    if (n == u"rch-mizar")
        return Protocol::RchMizar;
    return std::nullopt;
}

QString SimulatedRegister::protocolName(Protocol protocol) {
    switch (protocol) {
    case Protocol::Ela:
        return QStringLiteral("ela");
    case Protocol::Dataprocess:
        return QStringLiteral("dataprocess");
    case Protocol::Epson:
        return QStringLiteral("epson");
    case Protocol::RchGlobe:
        return QStringLiteral("rch-globe");
    case Protocol::RchMizar:
        return QStringLiteral("rch-mizar");
    }
    return {};
}

QList<SimulatedRegister::Frame> SimulatedRegister::feed(const QByteArray &bytes) {
    m_buffer += bytes;
    QList<Frame> out;
    while (auto frame = takeFrame(false))
        out << *frame;
    return out;
}

QList<SimulatedRegister::Frame> SimulatedRegister::idle() {
    QList<Frame> out;
    while (auto frame = takeFrame(true))
        out << *frame;
    return out;
}

std::optional<SimulatedRegister::Frame> SimulatedRegister::takeFrame(bool flushEot) {
    if (m_buffer.isEmpty())
        return std::nullopt;
    return m_protocol == Protocol::RchMizar ? takeMizarFrame(flushEot) : takeStxFrame();
}

std::optional<SimulatedRegister::Frame> SimulatedRegister::takeStxFrame() {
    Frame f;
    if (m_buffer.front() != STX) {
        // Bytes outside a frame: the program's ACK after our answers, or noise.
        f.kind = m_buffer.front() == ACK ? QStringLiteral("ACK") : QStringLiteral("NOISE");
        f.raw = m_buffer.left(1);
        m_buffer.remove(0, 1);
        return f;
    }
    const qsizetype etx = m_buffer.indexOf(ETX, 1);
    const qsizetype nextStx = m_buffer.indexOf(STX, 1);
    if (nextStx >= 0 && (etx < 0 || nextStx < etx)) {
        // A frame cut short by a new one: drop what came before.
        f.kind = QStringLiteral("NOISE");
        f.raw = m_buffer.left(nextStx);
        m_buffer.remove(0, nextStx);
        return f;
    }
    if (etx < 0)
        return std::nullopt;
    f.raw = m_buffer.left(etx + 1);
    m_buffer.remove(0, etx + 1);
    f.kind = QStringLiteral("FRAME");
    const QByteArray &r = f.raw;
    switch (m_protocol) {
    case Protocol::Ela: {
        if (r.size() < 6) {
            f.checksumOk = false;
            break;
        }
        f.text = r.mid(1, r.size() - 6);
        f.checksumOk = hex(byteSum(f.text) & 0xFFFF, 4) == r.mid(r.size() - 5, 4);
        for (qsizetype i = 0; i < f.text.size();) {
            const int len = static_cast<unsigned char>(f.text.at(i)) - 0x20;
            if (len < 0)
                break;
            f.fields << f.text.mid(i + 1, len);
            i += 1 + len;
        }
        break;
    }
    case Protocol::Dataprocess:
    case Protocol::Epson: {
        if (r.size() < 6) {
            f.checksumOk = false;
            break;
        }
        const QByteArray body = r.mid(1, r.size() - 4);
        f.sequence = body.left(2).toInt();
        f.text = body.mid(2);
        f.checksumOk = twoDigits(byteSum(body) % 100) == r.mid(r.size() - 3, 2);
        break;
    }
    case Protocol::RchGlobe: {
        if (r.size() < 11 || r.at(6) != 'N') {
            f.checksumOk = false;
            break;
        }
        f.text = r.mid(7, r.size() - 11);
        f.sequence = r.at(r.size() - 4) - '0';
        f.checksumOk =
            r.mid(3, 3).toInt() == f.text.size() &&
            hex(byteXor(QByteArrayView(r).first(r.size() - 3)), 2) == r.mid(r.size() - 3, 2);
        break;
    }
    case Protocol::RchMizar:
        break;
    }
    return f;
}

std::optional<SimulatedRegister::Frame> SimulatedRegister::takeMizarFrame(bool flushEot) {
    Frame f;
    const char first = m_buffer.front();
    auto bare = [&](const char *kind) {
        f.kind = QLatin1String(kind);
        f.raw = m_buffer.left(1);
        m_buffer.remove(0, 1);
        return f;
    };
    // STX text ETX BCC starting at `from`; nullopt while incomplete.
    auto block = [&](qsizetype from, const char *kind) -> std::optional<Frame> {
        const qsizetype etx = m_buffer.indexOf(ETX, from);
        if (etx < 0 || etx + 1 >= m_buffer.size())
            return std::nullopt;
        f.kind = QLatin1String(kind);
        f.raw = m_buffer.left(etx + 2);
        f.text = m_buffer.mid(from + 1, etx - from - 1);
        f.checksumOk = byteXor(QByteArrayView(m_buffer).sliced(from, etx - from + 1)) ==
                       static_cast<unsigned char>(m_buffer.at(etx + 1));
        m_buffer.remove(0, etx + 2);
        return f;
    };

    if (first == ACK)
        return bare("ACK");
    if (first == EOT) {
        if (m_buffer.size() == 1)
            return flushEot ? std::optional<Frame>(bare("EOT")) : std::nullopt;
        if (m_buffer.at(1) != '0')
            return bare("EOT");
        if (m_buffer.size() < 4)
            return flushEot ? std::optional<Frame>(bare("EOT")) : std::nullopt;
        if (m_buffer.at(2) == '1' && m_buffer.at(3) == ENQ) {
            f.kind = QStringLiteral("POLL");
            f.raw = m_buffer.left(4);
            m_buffer.remove(0, 4);
            return f;
        }
        if (m_buffer.at(2) == '1' && m_buffer.at(3) == STX)
            return block(3, "COMMAND");
        return bare("EOT");
    }
    if (first == SOH) {
        if (m_buffer.size() < 6)
            return std::nullopt;
        if (m_buffer.mid(1, 4) == "0100" && m_buffer.at(5) == STX)
            return block(5, "DATA");
    }
    return bare("NOISE");
}

QByteArray SimulatedRegister::noise() {
    static const char pool[] = {'\0', '\x11', '\x13', '\x7f', '\xff', 'x', '?'};
    QByteArray out;
    m_random = m_random * 1103515245u + 12345u;
    const int n = 1 + int((m_random >> 16) % 3);
    for (int i = 0; i < n; ++i) {
        m_random = m_random * 1103515245u + 12345u;
        out += pool[(m_random >> 16) % sizeof pool];
    }
    return out;
}

QByteArray SimulatedRegister::replyFrame(const Frame &request) {
    switch (m_protocol) {
    case Protocol::Ela: {
        const QByteArray payload = QByteArray(1, char(0x22)) + "00";
        return STX + payload + hex(byteSum(payload) & 0xFFFF, 4) + ETX;
    }
    case Protocol::Dataprocess:
    case Protocol::Epson: {
        // The command code comes back as the acknowledgement of the command.
        const QByteArray body =
            twoDigits(unsigned(qMax(request.sequence, 0))) + request.text.left(5);
        return STX + body + twoDigits(byteSum(body) % 100) + ETX;
    }
    case Protocol::RchGlobe: {
        // Status block: no error, error code 0000, receipt state, no more data.
        const GlobeReceiptState state =
            request.text.startsWith("=K") || request.text.startsWith("=T")
                ? GlobeReceiptState::Idle
                : GlobeReceiptState::Open;
        const QByteArray data = QByteArray("N0000") + twoDigits(unsigned(state)) + "0";
        const char requestSeq =
            request.raw.size() >= 4 ? request.raw.at(request.raw.size() - 4) : '0';
        QByteArray out = STX + QByteArray("01") +
                         QByteArray::number(data.size()).rightJustified(3, '0') + 'N' + data +
                         char('0' + static_cast<unsigned char>(requestSeq) % 10);
        out += hex(byteXor(out), 2);
        out += ETX;
        return out;
    }
    case Protocol::RchMizar:
        return SOH + QByteArray("0100") + mizarBlock("N0000");
    }
    return {};
}

QList<SimulatedRegister::Reply> SimulatedRegister::answer(const Frame &frame) {
    const bool mizar = m_protocol == Protocol::RchMizar;
    if (frame.kind == u"NOISE" || (!mizar && frame.kind == u"ACK"))
        return {};
    ++m_received;
    if (m_options.silentAfter >= 0 && m_received > m_options.silentAfter)
        return {};
    ++m_answered;

    QList<Reply> out;
    const QByteArray lead = m_options.garbage ? noise() : QByteArray();
    if (!frame.checksumOk || (m_options.nakEvery > 0 && m_received % m_options.nakEvery == 0)) {
        out << Reply{lead + NAK, false};
        return out;
    }
    const bool closing = closesReceipt(frame);
    if (mizar) {
        if (frame.kind == u"POLL")
            out << Reply{lead + replyFrame(frame), true, false};
        else if (frame.kind == u"ACK" || frame.kind == u"EOT")
            out << Reply{lead + EOT, false};
        else
            out << Reply{lead + ACK, false};
        return out;
    }
    out << Reply{lead + ACK, false} << Reply{replyFrame(frame), true, closing};
    return out;
}

bool SimulatedRegister::closesReceipt(const Frame &frame) const {
    switch (m_protocol) {
    case Protocol::Ela:
        return frame.fields.value(0) == "1329" || frame.fields.value(0) == "1323";
    case Protocol::Dataprocess:
    case Protocol::Epson:
        return frame.text.mid(1, 4) == "1036";
    case Protocol::RchGlobe:
        return frame.text.startsWith("=T");
    case Protocol::RchMizar:
        return false;
    }
    return false;
}

QString SimulatedRegister::describe(const Frame &frame) const {
    QString line = protocolName(m_protocol).toUpper() + QLatin1Char(' ') + frame.kind;
    if (frame.kind == u"NOISE")
        return line + QLatin1Char(' ') + printable(frame.raw);
    if (frame.kind != u"FRAME" && frame.kind != u"COMMAND" && frame.kind != u"DATA")
        return line;
    if (!frame.checksumOk)
        line += QStringLiteral(" BAD-CHECK");
    if (frame.sequence >= 0)
        line += QStringLiteral(" seq=%1").arg(frame.sequence);
    if (m_protocol == Protocol::Ela) {
        QStringList fields;
        for (const QByteArray &field : frame.fields)
            fields << printable(field);
        return line + QLatin1Char(' ') + fields.join(QStringLiteral(" | "));
    }
    return line + QLatin1Char(' ') + printable(frame.text);
}

} // namespace corvale::sim
