#pragma once

#include "db/Error.h"
#include "platform/Prompter.h"

#include <type_traits>
#include <utility>

namespace corvale {

// Runs `action`; a failure of the database engine reaches the user in an error
// box, in the engine's words, and the action counts as not done.
// Returns true when the action ran through; an action that returns a bool
// (false: it stopped and said why itself) gives that result instead.
template <typename Action> bool runReportingEngineErrors(Prompter &prompter, Action &&action) {
    try {
        if constexpr (std::is_same_v<std::invoke_result_t<Action>, bool>) {
            return std::forward<Action>(action)();
        } else {
            std::forward<Action>(action)();
            return true;
        }
    } catch (const db::Error &e) {
        prompter.error(e.message());
        return false;
    }
}

} // namespace corvale
