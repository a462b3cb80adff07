#pragma once

#include "platform/Prompter.h"

#include <QStringList>

namespace corvale {

// The admin tool runs unattended: nothing is asked (every question is a No,
// every dialog a cancel) and messages are kept for the tool to print.
class SilentPrompter : public Prompter {
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

    const QStringList &messages() const { return m_messages; }

private:
    QStringList m_messages;
};

} // namespace corvale
