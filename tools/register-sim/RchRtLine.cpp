#include "RchRtLine.h"

namespace corvale::sim {

using namespace line;

namespace {

QByteArray check(const QByteArray &from) {
    return QByteArray::number(byteXor(from), 16).toUpper().rightJustified(2, '0');
}

} // namespace

QByteArray RchRtLine::frame(char sequence, const QByteArray &data) {
    QByteArray out = STX + QByteArray("01") +
                     QByteArray::number(data.size()).rightJustified(3, '0') + 'N' + data +
                     char('0' + static_cast<unsigned char>(sequence) % 10);
    return out + check(out) + ETX;
}

std::optional<LineRegister::Frame> RchRtLine::take(QByteArray &buffer) {
    while (!buffer.isEmpty() && buffer.front() != STX)
        buffer.remove(0, 1); // the program's ACK, or noise
    const qsizetype etx = buffer.indexOf(ETX);
    if (etx < 0) {
        if (buffer.size() > 2000)
            buffer.clear();
        return std::nullopt;
    }
    Frame f;
    f.kind = QStringLiteral("FRAME");
    f.raw = buffer.left(etx + 1);
    buffer.remove(0, etx + 1);
    const QByteArray &raw = f.raw;
    f.text = raw.mid(7, raw.size() - 11);
    f.checksumOk = raw.size() >= 11 && raw.at(6) == 'N' && raw.mid(3, 3).toInt() == f.text.size() &&
                   check(raw.left(raw.size() - 3)) == raw.mid(raw.size() - 3, 2);
    if (f.checksumOk)
        f.sequence = static_cast<unsigned char>(raw.at(raw.size() - 4));
    return f;
}

QList<LineRegister::Frame> RchRtLine::feed(const QByteArray &bytes) {
    m_buffer += bytes;
    QList<Frame> out;
    while (auto f = take(m_buffer))
        out << *f;
    return out;
}

QString RchRtLine::describe(const Frame &frame) const {
    return frame.checksumOk ? QString::fromLatin1(frame.text)
                            : QStringLiteral("%1 (controllo errato)")
                                  .arg(QString::fromLatin1(frame.raw.toPercentEncoding()));
}

QList<LineRegister::Reply> RchRtLine::answer(const Frame &frame) {
    if (!frame.checksumOk)
        return {Reply{QByteArray(1, NAK)}};
    const SimulatedRchRt::Result result = m_rt.handle(frame.text);
    const QString command = QString::fromLatin1(frame.text);
    if (m_log)
        m_log(result.silent ? QStringLiteral("%1 (nessuna risposta)").arg(command)
              : result.drop
                  ? QStringLiteral("%1 (connessione interrotta)").arg(command)
                  : QStringLiteral("%1 -> %2").arg(command, QString::fromLatin1(result.data)));
    if (result.silent)
        return {}; // the program gives up on its own
    // Printing the receipt and the closure take the longest.
    const bool closing = frame.text == "=c" || frame.text == "=C10";
    if (result.drop)
        return {Reply{{}, true, closing, true}};
    QByteArray answer = this->frame(char(frame.sequence), result.data);
    if (result.corrupt)
        answer[answer.size() - 2] = answer.at(answer.size() - 2) == '0' ? '1' : '0';
    return {Reply{QByteArray(1, ACK)}, Reply{answer, true, closing}};
}

} // namespace corvale::sim
