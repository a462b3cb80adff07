#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

namespace corvale {

class IniFile;

// The serial port the cash register hangs on. Writes are started and not
// awaited; reads take only the bytes already waiting, so the caller can poll
// from a timer on the user-interface thread without ever blocking.
class SerialLine {
public:
    enum class Parity { None, Odd, Even };

    struct LineSettings {
        int baudRate = 9600;
        int dataBits = 8;
        Parity parity = Parity::None;
    };

    SerialLine();
    ~SerialLine();
    SerialLine(const SerialLine &) = delete;
    SerialLine &operator=(const SerialLine &) = delete;

    // Port number n of the settings ("1" … "8") as the system names it:
    // "/dev/ttyS{n-1}" on Linux, "COMn" on Windows. A text that is not a
    // positive number is passed on as it is, so it simply fails to open.
    static QString portName(const QString &portNumber);
    // The device to open for the register: REGCASSA/DEVICE when present (a USB
    // adapter such as /dev/ttyUSB0, or a pseudo-terminal), otherwise the port
    // named by REGCASSA/SERIALE (default "1").
    static QString registerDevice(const IniFile &settings);

    // Opens the device for reading and writing, exclusively; an existing device
    // only. False when it cannot be opened (errorString() tells why).
    bool open(const QString &device);
    bool isOpen() const;
    QString device() const { return m_device; }

    // Driver queue sizes. Bytes beyond the input size stay in the driver until
    // read; the output size bounds what one write may queue.
    bool setQueueSizes(int inputBytes, int outputBytes);

    // Baud rate, data bits and parity, always one stop bit. Returns false only
    // when the device is unusable; a setting the device merely refuses (a
    // pseudo-terminal refuses 7 data bits and parity) is kept as a warning.
    bool setLineSettings(const LineSettings &settings);
    QStringList warnings() const { return m_warnings; }

    // Bytes waiting in the input queue; -1 when the line has failed.
    int inputCount();
    // Up to `count` of the waiting bytes.
    QByteArray read(int count);
    // Hands the bytes to the port and returns at once. False when the port is
    // closed, has failed or the output queue is full.
    bool write(const QByteArray &bytes);

    // True once the device reported a fault that no retry mends (device
    // removed, other side of a pseudo-terminal closed, I/O error).
    bool hasFailed() const;
    QString errorString() const;

    void close();

private:
    // The system's side: Qt SerialPort on Linux, a Win32 communications handle on
    // Windows (SerialLine.cpp, SerialLineWin32.cpp).
    struct Port;

    void noteError();

    std::unique_ptr<Port> m_port;
    QString m_device;
    QString m_error;
    QStringList m_warnings;
    int m_outputQueueSize = 0;
    bool m_failed = false;
};

} // namespace corvale
