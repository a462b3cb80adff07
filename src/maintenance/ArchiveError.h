#pragma once

#include "db/Error.h"

namespace corvale {

// A save, restore or check that stopped: the message is the Italian text the
// user reads. It is an engine error as far as the windows are concerned, so it
// reaches the user the same way.
class ArchiveError : public db::Error {
public:
    using db::Error::Error;
};

} // namespace corvale
