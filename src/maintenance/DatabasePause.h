#pragma once

namespace corvale {

class Shop;

// The database closed for as long as the object lives (every table of every
// window with it) and opened again when it goes, also when an operation throws.
// A reopening that fails leaves the database closed; the windows then report
// the engine's error when they next open a table.
class DatabasePause {
public:
    explicit DatabasePause(Shop &shop);
    ~DatabasePause();

    DatabasePause(const DatabasePause &) = delete;
    DatabasePause &operator=(const DatabasePause &) = delete;

    // The operation ends the program: nothing is opened again.
    void keepClosed() { m_reopen = false; }
    // Opens the database now (and not again at the end); throws on failure.
    void reopen();

private:
    Shop &m_shop;
    bool m_reopen = true;
};

} // namespace corvale
