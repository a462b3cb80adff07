#pragma once

#include "HttpRegister.h"
#include "SimulatedRt.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace corvale::sim {

// One element of a document, its attributes in the order received.
struct EpsonRtElement {
    QString name;
    QList<QPair<QString, QString>> attributes;
    QString attribute(const QString &name) const;
    // "name a=v b=v": what the tests compare.
    QString text() const;
};

struct EpsonRtDocument : RtDocument {
    QList<EpsonRtElement> elements;
    QStringList lines() const;
};

// The far side of the network cable for an Epson telematic register: takes
// the body of a request ("Fiscal ePOS-Print" in a SOAP envelope), keeps the
// day's document numbers, the closure number and the time of the last
// closure, and says what to answer. It knows nothing of sockets; the
// RtHttpServer serves it over HTTP.
class SimulatedEpsonRt : public SimulatedRt<EpsonRtDocument, RtFault::MalformedXml>,
                         public HttpRegister {
public:
    using Element = EpsonRtElement;
    using Document = EpsonRtDocument;

    static inline const QString paperOutCode = QStringLiteral("EPTR_REC_EMPTY");
    static inline const QString coverOpenCode = QStringLiteral("EPTR_COVER_OPEN");
    static inline const QString closureOverdueCode = QStringLiteral("RT_CLOSURE_OVERDUE");
    static inline const QString badLotteryCode = QStringLiteral("RT_BAD_LOTTERY");
    static inline const QString badDocumentCode = QStringLiteral("RT_BAD_DOCUMENT");

    SimulatedEpsonRt();

    // Where the register takes its requests, and its name on the command line.
    QByteArray path() const override { return "/cgi-bin/fpmate.cgi"; }
    Result handle(const QByteArray &body) override;

    int requests() const { return m_requests; }

protected:
    // The element that carries the lottery code.
    virtual QString lotteryElement() const { return QStringLiteral("printRecLotteryID"); }
    // The answer's "response" element as the register sends it.
    virtual QByteArray wrap(const QString &response) const;

private:
    using Core = SimulatedRt<EpsonRtDocument, RtFault::MalformedXml>;

    QByteArray answer(bool success, const QString &code, const QString &printerStatus) const;
    Result receipt(const QList<Element> &elements);
    Result report(const QList<Element> &elements);
    Result refuse(const QString &code, const QString &printerStatus = QStringLiteral("00110"));

    int m_requests = 0;
};

} // namespace corvale::sim
