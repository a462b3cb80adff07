#pragma once

#include <QString>

#include <functional>

namespace corvale {

class Shop;

// "Salva", "Carica" and "Verifica" as the archive window runs them, with their
// questions, hourglass, gauge and messages, and the exit backup. The window
// hands in its gauge; the program hands in how it ends after a restore (tests
// replace it so that they go on running).
class ArchiveOperations {
public:
    explicit ArchiveOperations(Shop &shop);

    // The gauge: a value from 0 to 100 (shown), or -1 (hidden).
    void setGauge(std::function<void(int)> gauge) { m_gauge = std::move(gauge); }
    // How the program ends after a restore; by default the process ends at
    // once with the given code, no window closed and no exit backup written.
    void setEndProgram(std::function<void(int)> end) { m_endProgram = std::move(end); }

    void Salva();
    void Carica();
    void Verifica();

    // Writes `archive`; when interactive, reports the count. A failure is
    // always reported. False when the archive is not a complete copy.
    bool salva(const QString &archive, bool interactive);
    // The backup of "Uscita" with "Autosalvataggio Archivio" on: the day's
    // archive, no question; a failure is said before the program ends.
    bool exitBackup();

    static const QString &restoreQuestion();

private:
    void showGauge(int value);

    Shop &m_shop;
    std::function<void(int)> m_gauge;
    std::function<void(int)> m_endProgram;
};

} // namespace corvale
