#pragma once

namespace corvale {

// Long operations show the hourglass until they end, whatever the outcome.
struct WaitCursor {
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace corvale
