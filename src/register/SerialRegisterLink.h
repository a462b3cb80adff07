#pragma once

#include "platform/SerialLine.h"
#include "register/RegisterLink.h"

namespace corvale {

// The register link over the shop's serial line.
class SerialRegisterLink : public RegisterLink {
public:
    explicit SerialRegisterLink(SerialLine &line)
        : m_line(line) {}

    int inputCount() override { return m_line.inputCount(); }
    QByteArray read(int count) override { return m_line.read(count); }
    bool write(const QByteArray &bytes) override { return m_line.write(bytes); }
    bool hasFailed() const override { return m_line.hasFailed() || !m_line.isOpen(); }

private:
    SerialLine &m_line;
};

} // namespace corvale
