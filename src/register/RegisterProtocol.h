#pragma once

#include "register/Receipt.h"

#include <QByteArray>

namespace corvale {

class RegisterLink;

// A cash register protocol: a state machine that one timer tick moves by at
// most one step. The register's answers are taken from the input queue but
// never interpreted beyond their last byte. Each protocol names its own
// states (its `State` enum, starting at 0); what they share lives here: the
// answer test, the silence counter and the sheet cursor.
class RegisterProtocol {
public:
    enum class Step {
        Running,   // the timer runs on
        Completed, // the receipt went through
        Silent     // the register stopped answering or the line failed
    };

    static constexpr char SOH = 0x01;
    static constexpr char STX = 0x02;
    static constexpr char ETX = 0x03;
    static constexpr char EOT = 0x04;
    static constexpr char ENQ = 0x05;
    static constexpr char ACK = 0x06;
    static constexpr char EM = 0x19;
    static constexpr int inputQueueSize = 500;
    static constexpr int outputQueueSize = 1000;

    RegisterProtocol(RegisterLink &link, Receipt receipt, int timeoutSetting);
    virtual ~RegisterProtocol() = default;
    RegisterProtocol(const RegisterProtocol &) = delete;
    RegisterProtocol &operator=(const RegisterProtocol &) = delete;

    // Timer interval of this register in milliseconds.
    virtual int tickInterval() const = 0;
    // Whether a completed receipt saves the sale.
    virtual bool savesSale() const = 0;

    // Called once when the port is ready, before the timer starts.
    virtual void begin() {}
    // One timer tick. A line that failed (cable pulled, device gone) ends the
    // transmission as a silent register instead of spinning until the limit.
    Step tick();

    int silence() const { return m_silence; }

protected:
    virtual Step step() = 0;

    // The answer test: true once the waiting bytes stopped growing between two
    // ticks; they are then read into lastBlock() and the silence counter
    // restarts at the TIMEOUT setting.
    bool answered();
    // Whether the answer test itself acknowledges a block ending in ETX.
    virtual bool acknowledgesEtx() const { return true; }
    QByteArray lastBlock() const { return m_block; }

    void send(const QByteArray &frame);

    // Sheet cursor: the first row with a description at or after the current
    // one, or nullptr at the end of the sheet.
    const ReceiptLine *currentLine();
    void firstRow() { m_row = 0; }
    void nextRow() { ++m_row; }

    RegisterLink &m_link;
    const Receipt m_receipt;
    const int m_timeout;
    int m_silence = 0;

private:
    int m_lastCount = 0;
    int m_row = 0;
    QByteArray m_block;
    bool m_writeFailed = false;
};

} // namespace corvale
