#pragma once

#include "platform/SerialLine.h"
#include "register/RchFramedLink.h"

#include <QTimer>

namespace corvale {

// The commands of one request to an RCH RT over the shop's serial line (the
// port and line settings of the older registers). The port is opened for each
// request and closed at its end; bytes left on the line by an earlier request
// are thrown away first. Silence, a port that fails or a frame that fails its
// check end the request without an answer. The register counts as reached
// once it has sent a byte: until then nothing but the first command has gone
// out.
class RchSerialLink : public RchFramedLink {
    Q_OBJECT
public:
    static constexpr int pollMs = 5;
    // Room for the longest frame either way.
    static constexpr int queueSize = 2048;

    explicit RchSerialLink(QObject *parent = nullptr);
    ~RchSerialLink() override;

    bool send(const Request &request) override;

protected:
    bool put(const QByteArray &bytes) override { return m_line.write(bytes); }
    void release() override;
    bool reached() const override { return exchange().heard(); }

private:
    void poll();

    SerialLine m_line;
    QTimer m_poll;
};

} // namespace corvale
