#pragma once

#include "platform/Money.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <initializer_list>
#include <optional>

namespace corvale::sim {

// What a simulated telematic register can be told to meet.
enum class RtFault {
    None,
    NoAnswer,       // the request is taken and never answered; nothing printed
    LostAfterPrint, // the receipt is printed, the connection drops before the answer
    PaperOut,       // refused: paper end
    CoverOpen,      // refused: cover open
    MalformedXml,   // the receipt is printed, the answer is not XML
    MalformedFrame  // the receipt is printed, the answer frame fails its check
};

// What every document of a simulated telematic register has.
struct RtDocument {
    enum class Kind { Sale, Return, Void, ZReport, XReport, GiftReceipt };
    Kind kind = Kind::Sale;
    int number = 0;  // within the closure; reports: 0; a gift receipt: the
                     // document it copies
    int closure = 0; // the closure the document belongs to
    QDateTime when;
    Money total;

    // A fiscal document: a report or a gift receipt counts in no total.
    bool isReceipt() const {
        return kind == Kind::Sale || kind == Kind::Return || kind == Kind::Void;
    }
};

// The part of a simulated telematic register that does not depend on its
// language: its clock and serial number, the day's document numbers, the
// closure number and the time of the last closure, the documents printed and
// the faults it is told to meet. `Document` derives from RtDocument;
// `Malformed` is the make's own broken answer.
template <typename Document, RtFault Malformed> class SimulatedRt {
public:
    using Fault = RtFault;

    SimulatedRt()
        : m_clock([] { return QDateTime::currentDateTime(); })
        , m_lastClosure(m_clock()) {}

    // The register's clock (the real one unless set).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    QDateTime now() const { return m_clock(); }
    void setSerial(const QString &serial) { m_serial = serial; }
    QString serial() const { return m_serial; }
    void setLastClosure(const QDateTime &when) { m_lastClosure = when; }
    void setClosure(int closure) { m_closure = closure; }

    // The next `times` receipts meet `fault`.
    void failReceipts(Fault fault, int times = 1) {
        m_fault = fault;
        m_faultTimes = times;
    }
    // The next `times` queries of the last document go unanswered.
    void silenceQueries(int times) { m_silentQueries = times; }

    const QList<Document> &documents() const { return m_documents; }
    // Receipts (sales, returns, voids) printed, in order.
    QList<Document> receipts() const {
        QList<Document> out;
        for (const Document &d : m_documents)
            if (d.isReceipt())
                out << d;
        return out;
    }
    int closure() const { return m_closure; }
    int lastNumber() const { return m_number; }

    static QString faultName(Fault fault) {
        switch (fault) {
        case Fault::None:
            return QStringLiteral("none");
        case Fault::NoAnswer:
            return QStringLiteral("no-answer");
        case Fault::LostAfterPrint:
            return QStringLiteral("lost-after-print");
        case Fault::PaperOut:
            return QStringLiteral("paper-out");
        case Fault::CoverOpen:
            return QStringLiteral("cover-open");
        case Fault::MalformedXml:
            return QStringLiteral("malformed-xml");
        case Fault::MalformedFrame:
            return QStringLiteral("malformed-frame");
        }
        return {};
    }
    // The faults of this make by name (the command line's).
    static std::optional<Fault> faultFromName(const QString &name) {
        for (Fault f : {Fault::None, Fault::NoAnswer, Fault::LostAfterPrint, Fault::PaperOut,
                        Fault::CoverOpen, Malformed})
            if (faultName(f) == name)
                return f;
        return std::nullopt;
    }

protected:
    // The fault the receipt now closing meets.
    Fault takeFault() {
        if (m_faultTimes <= 0)
            return Fault::None;
        --m_faultTimes;
        return m_fault;
    }
    // True when this query of the last document goes unanswered.
    bool takeSilentQuery() {
        if (m_silentQueries <= 0)
            return false;
        --m_silentQueries;
        return true;
    }
    // An RT refuses documents 24 hours after its last closure.
    bool closureOverdue() const { return m_lastClosure.secsTo(now()) > 24 * 3600; }

    // Numbers and keeps a receipt just printed.
    void keepPrinted(Document doc) {
        doc.number = ++m_number;
        doc.closure = m_closure;
        doc.when = now();
        m_lastAmount = doc.total;
        m_lastWhen = doc.when;
        m_documents << doc;
    }
    // Keeps a copy of a document as it is (a gift receipt).
    void keepCopy(Document doc) { m_documents << doc; }
    // Keeps a report with the day's total.
    void report(Document doc) {
        doc.closure = m_closure;
        doc.when = now();
        doc.total = dayTotal();
        m_documents << doc;
    }
    // After a Z report: the day starts afresh.
    void closeDay() {
        ++m_closure;
        m_number = 0;
        m_lastClosure = now();
        m_lastAmount = Money();
        m_lastWhen = QDateTime();
    }
    Money dayTotal() const {
        Money total;
        for (const Document &d : m_documents) {
            if (d.closure != m_closure || !d.isReceipt())
                continue;
            total += d.kind == Document::Kind::Sale ? d.total : -d.total;
        }
        return total;
    }
    // When the last document was printed (the last closure when none was).
    QDateTime lastWhen() const { return m_lastWhen.isValid() ? m_lastWhen : m_lastClosure; }
    Money lastAmount() const { return m_lastAmount; }
    void setLastAmount(Money amount) { m_lastAmount = amount; }

private:
    std::function<QDateTime()> m_clock;
    QString m_serial;
    QDateTime m_lastClosure;
    int m_closure = 1;
    int m_number = 0;
    Money m_lastAmount;
    QDateTime m_lastWhen;
    Fault m_fault = Fault::None;
    int m_faultTimes = 0;
    int m_silentQueries = 0;
    QList<Document> m_documents;
};

} // namespace corvale::sim
