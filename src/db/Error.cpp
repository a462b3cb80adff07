#include "db/Error.h"

namespace corvale::db {

Error::Error(QString message)
    : m_message(std::move(message))
    , m_utf8(m_message.toUtf8()) {}

} // namespace corvale::db
