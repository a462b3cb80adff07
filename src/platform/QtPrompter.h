#pragma once

#include "platform/Prompter.h"

class QWidget;

namespace corvale {

// The Prompter of the running program: real message boxes, input boxes and
// file dialogs with Italian buttons, parented to the active window.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QString title = QStringLiteral("CORVALE QUIRA"));

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

private:
    static QWidget *parent();
    QString m_title;
};

} // namespace corvale
