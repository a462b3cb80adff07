#pragma once

#include "SimulatedRt.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace corvale::sim {

struct RchRtDocument : RtDocument {
    QString lottery;
    QString taxCode;
    // A return or void: the document quoted, "ddmmyy/zzzz/nnnn".
    QByteArray quoted;
    QList<QByteArray> commands; // as received, from the opening one to "=c"
    QStringList texts;          // descriptions of discounts and lines of text
};

// The far side of the cable for an RCH telematic register: takes the data of each command frame
// ("=R1/$2990/(MAGLIA)"), keeps the open document, the day's numbers, the closure number and the
// time of the last closure, and says what to answer. Each answer is the status block (class letter,
// 4-digit error, 2-digit receipt state, "more follows" flag); the last-document query "=?U" and the
// closure "=C10" add their fields
// ("/Z0012/N0003/D050326/H103000/A2990/M..."), a layout of our own to be
// checked against a device. It knows nothing of sockets or lines: RchRtLine
// frames it (over TCP with RchRtServer, on a pseudo-terminal with the
// RegisterSimulator) and RchServiceCgi serves it over HTTP.
class SimulatedRchRt : public SimulatedRt<RchRtDocument, RtFault::MalformedFrame> {
public:
    using Document = RchRtDocument;

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

    // The next `times` last-document queries after the next receipt closes go
    // unanswered: the register prints and then falls silent.
    void silenceQueriesAfterClose(int times) { m_silentAfterClose = times; }

    Result handle(const QByteArray &command);

    // The gift receipts ("=C453/$2") printed, each naming the document it copies.
    QList<Document> giftReceipts() const;
    // Every command received, in order.
    const QList<QByteArray> &commands() const { return m_log; }
    int requests() const { return int(m_log.size()); }

private:
    using Core = SimulatedRt<RchRtDocument, RtFault::MalformedFrame>;
    enum class Key { Sale, ZReport, XReport };
    Result ok(const QByteArray &fields = {}) const;
    Result error(const QByteArray &status);
    Result close();
    Result report();
    Result giftReceipt();
    bool open(Document::Kind kind, const QByteArray &command, QByteArray *refusal);

    Key m_key = Key::Sale;
    // The open document.
    std::optional<Document> m_open;
    Money m_lastItem;
    bool m_subtotal = false;
    Money m_paid;
    Money m_nonCash;
    int m_silentAfterClose = 0;
    QList<QByteArray> m_log;
};

} // namespace corvale::sim
