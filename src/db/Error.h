#pragma once

#include "platform/UserError.h"

namespace corvale::db {

// Every failure of the engine. The message is Italian and names the file (and the
// field, when one is involved), because the program shows it to the user as is.
class Error : public UserError {
public:
    using UserError::UserError;
};

} // namespace corvale::db
