#pragma once

#include "platform/Money.h"

#include <QDateTime>
#include <QString>

namespace corvale {

// What a telematic register answered, read from its own format.
struct RtAnswer {
    enum class Kind {
        Accepted, // success: the figures below are the register's
        Refused,  // the register said no; `code` tells why
        Malformed // not an answer this program can read
    };
    Kind kind = Kind::Malformed;
    QString code;           // the register's error code
    QString printerStatus;  // the register's status digits
    int documentNumber = 0; // last document of the day
    int closure = 0;        // the closure ("azzeramento") number
    bool hasAmount = false;
    Money amount;       // total of the last document
    QDateTime dateTime; // of the last document
    QString serial;     // the register's serial, when it tells it

    bool accepted() const { return kind == Kind::Accepted; }
};

} // namespace corvale
