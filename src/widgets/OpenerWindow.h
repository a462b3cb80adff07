#pragma once

namespace corvale {

// A window that opens others and hears back from them: a window that hides,
// or that hands a choice back, notifies its opener. Codes 0 and 1 mean
// "refresh your lists".
class OpenerWindow {
public:
    virtual ~OpenerWindow() = default;
    virtual void receiveNotification(int code) = 0;
};

} // namespace corvale
