#pragma once

#include "platform/UserError.h"

namespace corvale {

// A save, restore or check that stopped: the message is the Italian text the
// user reads. Not an engine error: a caller that tells the engine's failures
// apart (a missing table, a locked file) never mistakes an archive's for one.
class ArchiveError : public UserError {
public:
    using UserError::UserError;
};

} // namespace corvale
