#include "platform/SerialLine.h"

#include <QRegularExpression>

#include <windows.h>

#include <list>

namespace corvale {

namespace {

QString systemError(DWORD code) {
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    QString result = length > 0 ? QString::fromWCharArray(text, int(length)).trimmed()
                                : QStringLiteral("errore di sistema %1").arg(code);
    if (text)
        LocalFree(text);
    return result;
}

// Errors after which no retry helps: the adapter was pulled out, the driver failed or
// the handle is gone. Line noise (framing, parity) is not among them.
bool isFatal(DWORD code) {
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_BAD_COMMAND:
    case ERROR_DEVICE_REMOVED:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_GEN_FAILURE:
    case ERROR_INVALID_HANDLE:
    case ERROR_NOT_READY:
    case ERROR_OPERATION_ABORTED:
        return true;
    default:
        return false;
    }
}

// "COM1" … "COM256" need the device namespace prefix from COM10 on; it is harmless below.
QString devicePath(const QString &device) {
    static const QRegularExpression comPort(QStringLiteral("^COM[0-9]+$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (comPort.match(device).hasMatch())
        return QStringLiteral("\\\\.\\") + device.toUpper();
    return device;
}

} // namespace

// The handle is opened for overlapped use so that writes return at once, as they do on
// Linux; reads never wait because of the timeouts set in open().
struct SerialLine::Port {
    struct PendingWrite {
        OVERLAPPED overlapped{};
        QByteArray bytes;
    };

    HANDLE handle = INVALID_HANDLE_VALUE;
    std::list<PendingWrite> writes; // a list: the system keeps the OVERLAPPED addresses
    // The input queue is kept here: the count the driver reports (COMSTAT) is not
    // reliable on every driver, reading what is waiting is.
    QByteArray input;
    int inputQueueSize = 0;
    DWORD lastError = 0;

    ~Port() {
        if (handle == INVALID_HANDLE_VALUE)
            return;
        CancelIo(handle);
        for (PendingWrite &write : writes) {
            DWORD done = 0;
            GetOverlappedResult(handle, &write.overlapped, &done, TRUE);
            CloseHandle(write.overlapped.hEvent);
        }
        CloseHandle(handle);
    }

    // Forgets the writes the driver has finished; false, with lastError, when one failed.
    bool reapWrites() {
        for (auto it = writes.begin(); it != writes.end();) {
            DWORD done = 0;
            if (!GetOverlappedResult(handle, &it->overlapped, &done, FALSE)) {
                const DWORD code = GetLastError();
                if (code == ERROR_IO_INCOMPLETE) {
                    ++it;
                    continue;
                }
                lastError = code;
                CloseHandle(it->overlapped.hEvent);
                writes.erase(it);
                return false;
            }
            CloseHandle(it->overlapped.hEvent);
            it = writes.erase(it);
        }
        return true;
    }

    // Moves what the driver holds into the input queue, up to its size; false, with
    // lastError, when the read failed.
    bool fillInput() {
        const int room = (inputQueueSize > 0 ? inputQueueSize : kDefaultInput) - int(input.size());
        if (room <= 0)
            return true;
        const qsizetype had = input.size();
        input.resize(had + room);
        OVERLAPPED overlapped{};
        overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        DWORD got = 0;
        bool ok = ReadFile(handle, input.data() + had, DWORD(room), &got, &overlapped);
        if (!ok && GetLastError() == ERROR_IO_PENDING) {
            // The timeouts say a read completes at once; one a driver keeps waiting for
            // more bytes (Wine's ports do) is cancelled, keeping what it has read.
            if (WaitForSingleObject(overlapped.hEvent, 0) != WAIT_OBJECT_0)
                CancelIoEx(handle, &overlapped);
            ok = GetOverlappedResult(handle, &overlapped, &got, TRUE) ||
                 GetLastError() == ERROR_OPERATION_ABORTED;
        }
        if (!ok) {
            lastError = GetLastError();
            got = 0;
        }
        CloseHandle(overlapped.hEvent);
        input.truncate(had + qsizetype(got));
        return ok;
    }

    static constexpr int kDefaultInput = 4096;

    qint64 queuedBytes() const {
        qint64 total = 0;
        for (const PendingWrite &write : writes)
            total += write.bytes.size();
        return total;
    }
};

SerialLine::SerialLine() = default;

SerialLine::~SerialLine() {
    close();
}

bool SerialLine::open(const QString &device) {
    close();
    m_device = device;
    m_error.clear();
    m_warnings.clear();
    m_failed = false;
    if (device.isEmpty()) {
        m_error = QStringLiteral("no device named");
        return false;
    }
    const QString path = devicePath(device);
    // No sharing: the register must have one talker only.
    HANDLE handle =
        CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ | GENERIC_WRITE, 0,
                    nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        m_error = systemError(GetLastError());
        return false;
    }
    // Reads return at once with what is waiting, since the caller polls from a timer;
    // writes carry no timeout. A handle that refuses them is no serial port.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    if (!SetCommTimeouts(handle, &timeouts)) {
        m_error = systemError(GetLastError());
        CloseHandle(handle);
        return false;
    }
    PurgeComm(handle, PURGE_RXCLEAR | PURGE_TXCLEAR);
    m_port = std::make_unique<Port>();
    m_port->handle = handle;
    return true;
}

bool SerialLine::isOpen() const {
    return m_port && m_port->handle != INVALID_HANDLE_VALUE;
}

bool SerialLine::setQueueSizes(int inputBytes, int outputBytes) {
    if (!isOpen() || inputBytes <= 0 || outputBytes <= 0)
        return false;
    // Only a recommendation to the driver (virtual ports ignore it): the limits are
    // kept here as well.
    SetupComm(m_port->handle, DWORD(inputBytes), DWORD(outputBytes));
    m_port->inputQueueSize = inputBytes;
    m_outputQueueSize = outputBytes;
    return true;
}

bool SerialLine::setLineSettings(const LineSettings &settings) {
    if (!isOpen())
        return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(m_port->handle, &dcb)) {
        m_port->lastError = GetLastError();
        m_error = systemError(m_port->lastError);
        m_failed = true;
        return false;
    }
    // Binary, no flow control of any kind, DTR and RTS raised: what the registers expect.
    dcb.fBinary = TRUE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fAbortOnError = FALSE;
    dcb.StopBits = ONESTOPBIT;

    // Each setting on its own, so one the device refuses does not hide the rest.
    auto apply = [this, &dcb](auto change, const QString &what) {
        const DCB before = dcb;
        change(dcb);
        if (SetCommState(m_port->handle, &dcb))
            return true;
        const DWORD code = GetLastError();
        dcb = before;
        if (isFatal(code)) {
            m_port->lastError = code;
            m_error = systemError(code);
            m_failed = true;
            return false;
        }
        m_warnings << QStringLiteral("%1: %2").arg(what, systemError(code));
        return true;
    };
    const BYTE parity = settings.parity == Parity::Odd    ? ODDPARITY
                        : settings.parity == Parity::Even ? EVENPARITY
                                                          : NOPARITY;
    return apply([](DCB &) {}, QStringLiteral("no flow control")) &&
           apply([&](DCB &d) { d.BaudRate = DWORD(settings.baudRate); },
                 QStringLiteral("baud rate %1").arg(settings.baudRate)) &&
           apply([&](DCB &d) { d.ByteSize = BYTE(settings.dataBits); },
                 QStringLiteral("%1 data bits").arg(settings.dataBits)) &&
           apply(
               [&](DCB &d) {
                   d.Parity = parity;
                   d.fParity = parity != NOPARITY;
               },
               QStringLiteral("parity")) &&
           !m_failed;
}

int SerialLine::inputCount() {
    if (!isOpen() || m_failed)
        return -1;
    if (!m_port->reapWrites()) {
        noteError();
        if (m_failed)
            return -1;
    }
    if (!m_port->fillInput()) {
        noteError();
        if (m_failed)
            return -1;
    }
    return int(m_port->input.size());
}

QByteArray SerialLine::read(int count) {
    if (!isOpen() || count <= 0)
        return {};
    if (m_port->input.size() < count && !m_port->fillInput())
        noteError();
    const QByteArray bytes = m_port->input.left(count);
    m_port->input.remove(0, bytes.size());
    return bytes;
}

bool SerialLine::write(const QByteArray &bytes) {
    if (!isOpen() || m_failed)
        return false;
    if (!m_port->reapWrites()) {
        noteError();
        if (m_failed)
            return false;
    }
    if (m_outputQueueSize > 0 && m_port->queuedBytes() + bytes.size() > m_outputQueueSize) {
        m_error = QStringLiteral("output queue full");
        return false;
    }
    Port::PendingWrite &pending = m_port->writes.emplace_back();
    pending.bytes = bytes;
    pending.overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD done = 0;
    if (!WriteFile(m_port->handle, pending.bytes.constData(), DWORD(pending.bytes.size()), &done,
                   &pending.overlapped) &&
        GetLastError() != ERROR_IO_PENDING) {
        m_port->lastError = GetLastError();
        CloseHandle(pending.overlapped.hEvent);
        m_port->writes.pop_back();
        noteError();
        return false;
    }
    return true;
}

void SerialLine::noteError() {
    if (!m_port || m_port->lastError == 0)
        return;
    const DWORD code = m_port->lastError;
    m_port->lastError = 0;
    if (m_error.isEmpty() || isFatal(code))
        m_error = systemError(code);
    if (isFatal(code))
        m_failed = true;
}

void SerialLine::close() {
    if (!m_port)
        return;
    m_port.reset();
    m_outputQueueSize = 0;
}

} // namespace corvale
