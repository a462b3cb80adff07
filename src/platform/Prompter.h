#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace corvale {

// The one door to every message box, question, input box, password prompt and
// file dialog. Windows and logic classes ask through it, so tests can answer
// with a ScriptedPrompter. A "\r" in a message is a line break.
class Prompter {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompter() = default;

    // Error box with OK.
    virtual void error(const QString &text) = 0;
    // Information box with OK.
    virtual void information(const QString &text) = 0;
    // Warning box with OK.
    virtual void warning(const QString &text) = 0;
    // Yes/No question; true on Yes.
    virtual bool confirm(const QString &text) = 0;
    // Yes/No/Cancel question.
    virtual Answer confirmWithCancel(const QString &text) = 0;
    // Input box: the typed text, or nothing when cancelled (an empty answer is
    // an empty text, not a cancel).
    virtual std::optional<QString> input(const QString &caption, const QString &prompt,
                                         const QString &proposal = {}) = 0;
    // Masked input box for a password.
    virtual std::optional<QString> password(const QString &caption, const QString &prompt) = 0;
    // File dialogs. `filter` is in the form "Caption|*.ext|Caption 2|*.a;*.b".
    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> openFile(const QString &title, const QString &filter,
                                            const QString &directory = {}) = 0;
    virtual std::optional<QString> saveFile(const QString &title, const QString &filter,
                                            const QString &directory = {},
                                            const QString &proposedName = {}) = 0;

    // "\r" (and "\r\n") line breaks as real line breaks.
    static QString displayText(const QString &text);
    // "Caption|*.ext|…" into Qt's "Caption (*.ext);;…".
    static QString qtFilter(const QString &filter);
};

} // namespace corvale
