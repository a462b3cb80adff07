#include "register/RchServiceXml.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace corvale {

QByteArray RchServiceXml::request(const QList<QByteArray> &commands) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("Service"));
    for (const QByteArray &c : commands)
        w.writeTextElement(QStringLiteral("cmd"), QString::fromLatin1(c));
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

std::optional<QByteArray> RchServiceXml::answers(const QByteArray &body) {
    if (body.size() > 1 << 20)
        return std::nullopt;
    QXmlStreamReader r(body);
    QList<QByteArray> out;
    int depth = 0;
    bool root = false;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            ++depth;
            if (depth == 1) {
                if (r.name() != u"Service")
                    return std::nullopt;
                root = true;
            } else if (depth == 2 && r.name() == u"answer") {
                const QString text = r.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
                --depth;
                if (r.hasError() || text.isEmpty() || text.size() > answerLimit)
                    return std::nullopt;
                for (QChar c : text)
                    if (c.unicode() < 0x20 || c.unicode() > 0x7e)
                        return std::nullopt;
                out << text.toLatin1();
            }
            // Other elements (of later firmware) are not ours to read.
        } else if (r.isEndElement()) {
            --depth;
        }
    }
    if (r.hasError() || !root || out.isEmpty())
        return std::nullopt;
    return out.join('\n');
}

} // namespace corvale
