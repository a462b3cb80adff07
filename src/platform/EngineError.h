#pragma once

#include "platform/Prompter.h"
#include "platform/UserError.h"

#include <type_traits>
#include <utility>

namespace corvale {

// Runs `action`; a failure meant for the user (the database engine's, an
// archive's) reaches them in an error box, in its own words, and the action
// counts as not done.
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
    } catch (const UserError &e) {
        prompter.error(e.message());
        return false;
    }
}

} // namespace corvale
