#pragma once

#include "db/Error.h"
#include "platform/Prompter.h"

#include <utility>

namespace corvale {

// Runs `action`; a failure of the database engine reaches the user in an error
// box, in the engine's words, and the action counts as not done.
// Returns true when the action ran through.
template <typename Action> bool runReportingEngineErrors(Prompter &prompter, Action &&action) {
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const db::Error &e) {
        prompter.error(e.message());
        return false;
    }
}

} // namespace corvale
