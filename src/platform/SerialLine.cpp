#include "platform/SerialLine.h"

#include <QSerialPort>

namespace corvale {

namespace {

bool isFatal(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::UnknownError:
        return true;
    default:
        return false;
    }
}

} // namespace

struct SerialLine::Port : QSerialPort {};

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
    m_port = std::make_unique<Port>();
    m_port->setPortName(device);
    QObject::connect(m_port.get(), &QSerialPort::errorOccurred, m_port.get(),
                     [this](QSerialPort::SerialPortError) { noteError(); });
    if (!m_port->open(QIODevice::ReadWrite)) {
        m_error = m_port->errorString();
        m_port.reset();
        return false;
    }
    // A fresh port may have a fault recorded while opening (DTR on a pty).
    m_port->clearError();
    m_failed = false;
    return true;
}

bool SerialLine::isOpen() const {
    return m_port && m_port->isOpen();
}

bool SerialLine::setQueueSizes(int inputBytes, int outputBytes) {
    if (!isOpen() || inputBytes <= 0 || outputBytes <= 0)
        return false;
    m_port->setReadBufferSize(inputBytes);
    m_outputQueueSize = outputBytes;
    return true;
}

bool SerialLine::setLineSettings(const LineSettings &settings) {
    if (!isOpen())
        return false;
    const auto parity = settings.parity == Parity::Odd    ? QSerialPort::OddParity
                        : settings.parity == Parity::Even ? QSerialPort::EvenParity
                                                          : QSerialPort::NoParity;
    const auto bits = static_cast<QSerialPort::DataBits>(settings.dataBits);

    // Each setting on its own, so one the device refuses does not hide the rest.
    auto apply = [this](bool ok, const QString &what) {
        if (ok)
            return true;
        const auto error = m_port->error();
        const QString text = m_port->errorString();
        m_port->clearError();
        if (isFatal(error)) {
            m_failed = true;
            m_error = text;
            return false;
        }
        m_warnings << QStringLiteral("%1: %2").arg(what, text);
        return true;
    };
    return apply(m_port->setBaudRate(settings.baudRate),
                 QStringLiteral("baud rate %1").arg(settings.baudRate)) &&
           apply(m_port->setDataBits(bits),
                 QStringLiteral("%1 data bits").arg(settings.dataBits)) &&
           apply(m_port->setParity(parity), QStringLiteral("parity")) &&
           apply(m_port->setStopBits(QSerialPort::OneStop), QStringLiteral("one stop bit")) &&
           apply(m_port->setFlowControl(QSerialPort::NoFlowControl),
                 QStringLiteral("no flow control")) &&
           !m_failed;
}

int SerialLine::inputCount() {
    if (!isOpen() || m_failed)
        return -1;
    return int(m_port->bytesAvailable());
}

QByteArray SerialLine::read(int count) {
    if (!isOpen() || count <= 0)
        return {};
    return m_port->read(count);
}

bool SerialLine::write(const QByteArray &bytes) {
    if (!isOpen() || m_failed)
        return false;
    if (m_outputQueueSize > 0 && m_port->bytesToWrite() + bytes.size() > m_outputQueueSize) {
        m_error = QStringLiteral("output queue full");
        return false;
    }
    const qint64 queued = m_port->write(bytes);
    if (queued != bytes.size()) {
        noteError();
        return false;
    }
    return true;
}

void SerialLine::noteError() {
    if (!m_port)
        return;
    const auto error = m_port->error();
    if (error == QSerialPort::NoError)
        return;
    if (m_error.isEmpty() || isFatal(error))
        m_error = m_port->errorString();
    if (isFatal(error))
        m_failed = true;
}

void SerialLine::close() {
    if (!m_port)
        return;
    // Disconnect first: closing a failed port reports further errors.
    QObject::disconnect(m_port.get(), nullptr, nullptr, nullptr);
    if (m_port->isOpen())
        m_port->close();
    m_port.reset();
    m_outputQueueSize = 0;
}

} // namespace corvale
