#include "RchServiceCgi.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace corvale::sim {

namespace {

// The commands of a "Service" document; nothing for anything else.
std::optional<QList<QByteArray>> commands(const QByteArray &body) {
    QXmlStreamReader r(body);
    QList<QByteArray> out;
    int depth = 0;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            ++depth;
            if (depth == 1 && r.name() != u"Service")
                return std::nullopt;
            if (depth == 2 && r.name() == u"cmd") {
                out << r.readElementText().toLatin1();
                --depth;
            }
        } else if (r.isEndElement()) {
            --depth;
        }
    }
    if (r.hasError() || out.isEmpty())
        return std::nullopt;
    return out;
}

QByteArray document(const QList<QByteArray> &answers) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("Service"));
    for (const QByteArray &a : answers)
        w.writeTextElement(QStringLiteral("answer"), QString::fromLatin1(a));
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

} // namespace

HttpRegister::Result RchServiceCgi::handle(const QByteArray &body) {
    Result result;
    const auto received = commands(body);
    if (!received) {
        result.answer = document({SimulatedRchRt::unknownCommand + "000"});
        return result;
    }
    QList<QByteArray> answers;
    for (const QByteArray &command : *received) {
        const SimulatedRchRt::Result r = m_rt.handle(command);
        if (r.silent || r.drop) {
            // The register hangs, or its answer is lost on the way.
            result.silent = r.silent;
            result.drop = r.drop;
            return result;
        }
        answers << r.data;
        if (r.corrupt) {
            result.answer = document(answers).left(40);
            return result;
        }
        if (!r.data.startsWith('N'))
            break;
    }
    result.answer = document(answers);
    return result;
}

} // namespace corvale::sim
