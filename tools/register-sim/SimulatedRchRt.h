#pragma once

#include "platform/Money.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace corvale::sim {

// The far side of the cable for an RCH telematic register on TCP port 23:
// takes the data of each command frame ("=R1/$2990/(MAGLIA)"), keeps the open
// document, the day's numbers, the closure number and the time of the last
// closure, and says what to answer. Each answer is the status block (class
// letter, 4-digit error, 2-digit receipt state, "more follows" flag); the
// last-document query "=?U" and the closure "=C10" add their fields
// ("/Z0012/N0003/D050326/H103000/A2990/M..."), a layout of our own to be
// checked against a device. It knows nothing of sockets; RchRtServer frames
// it over TCP.
class SimulatedRchRt {
public:
    enum class Fault {
        None,
        NoAnswer,       // the closing command is never answered; nothing printed
        LostAfterPrint, // the receipt is printed, the connection drops before the answer
        PaperOut,       // refused: paper end
        CoverOpen,      // refused: cover open
        MalformedFrame  // the receipt is printed, the answer frame fails its check
    };

    struct Document {
        enum class Kind { Sale, Return, Void, ZReport, XReport, GiftReceipt };
        Kind kind = Kind::Sale;
        int number = 0;  // within the closure; reports: 0; a gift receipt: the
                         // document it copies
        int closure = 0; // the closure the document belongs to
        QDateTime when;
        Money total;
        QString lottery;
        QString taxCode;
        // A return or void: the document quoted, "ddmmyy/zzzz/nnnn".
        QByteArray quoted;
        QList<QByteArray> commands; // as received, from the opening one to "=c"
    };

    struct Result {
        QByteArray data;      // the answer frame's data
        bool silent = false;  // never answer
        bool drop = false;    // close the connection without an answer
        bool corrupt = false; // send the answer with a wrong check
    };

    // Error status blocks (class and code).
    static inline const QByteArray paperOut = "P0001";
    static inline const QByteArray coverOpen = "S0020";
    static inline const QByteArray closureOverdue = "S0045";
    static inline const QByteArray badLottery = "G0011";
    static inline const QByteArray badDocument = "G0003";
    static inline const QByteArray unknownCommand = "G0001";

    SimulatedRchRt();

    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }
    QDateTime now() const { return m_clock(); }
    void setSerial(const QString &serial) { m_serial = serial; }
    QString serial() const { return m_serial; }
    void setLastClosure(const QDateTime &when) { m_lastClosure = when; }
    void setClosure(int closure) { m_closure = closure; }

    // The next `times` receipts meet `fault` when they close.
    void failReceipts(Fault fault, int times = 1);
    // The next `times` last-document queries go unanswered.
    void silenceQueries(int times) { m_silentQueries = times; }

    Result handle(const QByteArray &command);

    const QList<Document> &documents() const { return m_documents; }
    QList<Document> receipts() const;
    // The gift receipts ("=C453/$2") printed, each naming the document it copies.
    QList<Document> giftReceipts() const;
    // Every command received, in order.
    const QList<QByteArray> &commands() const { return m_log; }
    int closure() const { return m_closure; }
    int lastNumber() const { return m_number; }
    int requests() const { return int(m_log.size()); }

    static QString faultName(Fault fault);
    static std::optional<Fault> faultFromName(const QString &name);

private:
    enum class Key { Sale, ZReport, XReport };
    Result ok(const QByteArray &fields = {}) const;
    Result error(const QByteArray &status);
    Result close();
    Result report();
    Result giftReceipt();
    bool open(Document::Kind kind, const QByteArray &command, QByteArray *refusal);
    Money dayTotal() const;

    std::function<QDateTime()> m_clock;
    QString m_serial = QStringLiteral("80RCH000001");
    QDateTime m_lastClosure;
    int m_closure = 1;
    int m_number = 0;
    Money m_lastAmount;
    QDateTime m_lastWhen;
    Key m_key = Key::Sale;
    // The open document.
    std::optional<Document> m_open;
    Money m_lastItem;
    bool m_subtotal = false;
    Money m_paid;
    Money m_nonCash;
    Fault m_fault = Fault::None;
    int m_faultTimes = 0;
    int m_silentQueries = 0;
    QList<Document> m_documents;
    QList<QByteArray> m_log;
};

} // namespace corvale::sim
