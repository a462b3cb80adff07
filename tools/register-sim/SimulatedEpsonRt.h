#pragma once

#include "platform/Money.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace corvale::sim {

// The far side of the network cable for an Epson telematic register: takes
// the body of a request ("Fiscal ePOS-Print" in a SOAP envelope), keeps the
// day's document numbers, the closure number and the time of the last
// closure, and says what to answer. It knows nothing of sockets; the
// RtHttpServer serves it over HTTP.
class SimulatedEpsonRt {
public:
    enum class Fault {
        None,
        NoAnswer,       // the request is taken and never answered; nothing printed
        LostAfterPrint, // the receipt is printed, the connection drops before the answer
        PaperOut,       // refused: paper end
        CoverOpen,      // refused: cover open
        MalformedXml    // the receipt is printed, the answer is not XML
    };

    // One element of a document, its attributes in the order received.
    struct Element {
        QString name;
        QList<QPair<QString, QString>> attributes;
        QString attribute(const QString &name) const;
        // "name a=v b=v": what the tests compare.
        QString text() const;
    };

    struct Document {
        enum class Kind { Sale, Return, Void, ZReport, XReport };
        Kind kind = Kind::Sale;
        int number = 0;  // within the closure; reports: 0
        int closure = 0; // the closure the document belongs to
        QDateTime when;
        Money total;
        QList<Element> elements;
        QStringList lines() const;
    };

    struct Result {
        QByteArray answer;   // empty with silent or drop
        bool silent = false; // never answer
        bool drop = false;   // close the connection without an answer
    };

    static inline const QString paperOutCode = QStringLiteral("EPTR_REC_EMPTY");
    static inline const QString coverOpenCode = QStringLiteral("EPTR_COVER_OPEN");
    static inline const QString closureOverdueCode = QStringLiteral("RT_CLOSURE_OVERDUE");
    static inline const QString badLotteryCode = QStringLiteral("RT_BAD_LOTTERY");
    static inline const QString badDocumentCode = QStringLiteral("RT_BAD_DOCUMENT");

    SimulatedEpsonRt();
    virtual ~SimulatedEpsonRt() = default;

    // Where the register takes its requests, and its name on the command line.
    virtual QByteArray path() const { return "/cgi-bin/fpmate.cgi"; }

    // The register's clock (the real one unless set).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    QDateTime now() const { return m_clock(); }
    void setSerial(const QString &serial) { m_serial = serial; }
    QString serial() const { return m_serial; }
    void setLastClosure(const QDateTime &when) { m_lastClosure = when; }
    void setClosure(int closure) { m_closure = closure; }

    // The next `times` receipts meet `fault`.
    void failReceipts(Fault fault, int times = 1);
    // The next `times` status queries go unanswered.
    void silenceQueries(int times) { m_silentQueries = times; }

    Result handle(const QByteArray &body);

    const QList<Document> &documents() const { return m_documents; }
    // Receipts (sales, returns, voids) printed, in order.
    QList<Document> receipts() const;
    int closure() const { return m_closure; }
    int lastNumber() const { return m_number; }
    int requests() const { return m_requests; }

    static QString faultName(Fault fault);
    static std::optional<Fault> faultFromName(const QString &name);

protected:
    // The element that carries the lottery code.
    virtual QString lotteryElement() const { return QStringLiteral("printRecLotteryID"); }
    // The answer's "response" element as the register sends it.
    virtual QByteArray wrap(const QString &response) const;

private:
    QByteArray answer(bool success, const QString &code, const QString &printerStatus) const;
    Result receipt(const QList<Element> &elements);
    Result report(const QList<Element> &elements);
    Result refuse(const QString &code, const QString &printerStatus = QStringLiteral("00110"));

    std::function<QDateTime()> m_clock;
    QString m_serial = QStringLiteral("99MEX000001");
    QDateTime m_lastClosure;
    int m_closure = 1;
    int m_number = 0;
    Money m_lastAmount;
    QDateTime m_lastWhen;
    Fault m_fault = Fault::None;
    int m_faultTimes = 0;
    int m_silentQueries = 0;
    int m_requests = 0;
    QList<Document> m_documents;
};

} // namespace corvale::sim
