#pragma once

#include "platform/Prompter.h"

namespace corvale {

// Messages on the terminal for the command-line tools; questions are never
// asked there, so every input is a cancel and every confirmation a No.
class ConsolePrompter : public Prompter {
public:
    void error(const QString &text) override;
    void information(const QString &text) override;
    void warning(const QString &text) override;
    bool confirm(const QString &text) override;
    Answer confirmWithCancel(const QString &text) override;
    std::optional<QString> input(const QString &caption, const QString &prompt,
                                 const QString &proposal) override;
    std::optional<QString> password(const QString &caption, const QString &prompt) override;
    std::optional<QString> openFile(const QString &title, const QString &filter,
                                    const QString &directory) override;
    std::optional<QString> saveFile(const QString &title, const QString &filter,
                                    const QString &directory, const QString &proposedName) override;

    QString lastError() const { return m_lastError; }

private:
    QString m_lastError;
};

} // namespace corvale
