#include "platform/IniFile.h"
#include "platform/SerialLine.h"

namespace corvale {

QString SerialLine::portName(const QString &portNumber) {
    const QString text = portNumber.trimmed();
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1)
        return text;
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

QString SerialLine::registerDevice(const IniFile &settings) {
    const QString device =
        settings.readString(QStringLiteral("REGCASSA"), QStringLiteral("DEVICE"));
    if (!device.isEmpty())
        return device;
    return portName(settings.readString(QStringLiteral("REGCASSA"), QStringLiteral("SERIALE"),
                                        QStringLiteral("1")));
}

bool SerialLine::hasFailed() const {
    return m_failed;
}

QString SerialLine::errorString() const {
    return m_error;
}

} // namespace corvale
