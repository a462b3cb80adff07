#pragma once

#include "register/EpsonRtXml.h"

#include <QByteArray>
#include <QList>

namespace corvale {

// The RCH command language as an RCH RT takes it on raw TCP port 23 and on
// its serial line, in the frames of the serial Globe protocol: STX, "01", the
// data length in three digits, 'N', the data, a sequence digit, two hex
// digits of the XOR from STX to the sequence digit, ETX. ACK and NAK travel
// as single bytes. A request of the driver is a list of commands, one a line;
// its answer is the data of the register's response frames, one a line
// (service.cgi carries the same commands and answers: RchServiceXml).
//
// Each response starts with a status block: class letter (N no error; G, S,
// P errors, P paper out), 4-digit error code, 2-digit receipt state, "more
// follows" flag. The public descriptions name no command that reads the last
// document back; this driver asks "=?U" and reads the answer's fields after
// the status block, each a letter and a value behind a '/':
//   Z closure  N document number  D date ddmmyy  H time hhmmss
//   A amount of the document in cents  T day's total in cents  M serial
// The command, the field letters, the tender numbers (1 cash, 3 card, 4
// ticket) and the error codes below are to be verified on a device.
//
// A line sold at a campaign's price goes at the previous price with a
// described discount down to the sale's amount, "=V-/*<cents>/(SALDI -30%)",
// and a line of text "="/(Prezzo precedente EUR 79,90)" (the euro sign is
// not in the register's character set): both to be verified on a device.
class RchRtCommands {
public:
    static constexpr int defaultPort = 23;
    // The longest text of a sale line, a reduction or a message.
    static constexpr int textWidth = 32;
    static constexpr int statusSize = 8;

    static QByteArray lastDocumentQuery() { return "=?U"; }
    // The gift receipt ("scontrino di cortesia"): the last document again
    // without its prices. It goes on its own after the document's answer,
    // so that a refusal of the copy can never pass for a refused receipt.
    static QByteArray giftReceipt() { return "=C453/$2"; }
    static QList<QByteArray> receipt(const FiscalDocument &document, const RtFigures &figures);
    static QList<QByteArray> report(FiscalDevice::Report report);

    // `commands` one a line, as the link takes them, and back.
    static QByteArray join(const QList<QByteArray> &commands);
    static QList<QByteArray> split(const QByteArray &request);

    // The cents of an amount ("2990", "-150") and a quantity ("2.00").
    static QByteArray centsText(Money amount);
    static QByteArray quantityText(double quantity);
    // Text the register prints between "(" and ")": printable ASCII only,
    // no closing parenthesis, at most `width` characters.
    static QByteArray text(const QString &text, int width);
    static int tenderNumber(PaymentType type);

    // The answers of one request read back: refused at the first status that
    // is not "N", with the error translated to the codes the operator's
    // messages know; accepted with the fields of every answer.
    static RtAnswer parse(const QByteArray &answers);
    // The error of a status block as NetworkFiscalDevice::refusalText knows it.
    static QString errorCode(char cls, const QByteArray &code);

    // --- Framing ---
    static QByteArray frame(int sequence, const QByteArray &data);
    // The register's answer sequence digit to a request sent with `sequence`.
    static int answerSequence(int sequence);
    struct Taken {
        enum class Kind {
            Incomplete, // wait for more bytes
            Ack,
            Nak,
            Frame,
            Bad,  // a frame that fails its length, letter, check or bytes
            Noise // a byte outside any frame
        };
        Kind kind = Kind::Incomplete;
        QByteArray data;
        int sequence = -1;
        qsizetype used = 0; // bytes of the buffer taken
    };
    // The first thing at the start of `buffer`.
    static Taken take(const QByteArray &buffer);
    static constexpr qsizetype frameLimit = 1 + 2 + 3 + 1 + 999 + 1 + 2 + 1;
};

} // namespace corvale
