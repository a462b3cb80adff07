#pragma once

#include "platform/Prompter.h"

#include <QList>
#include <functional>

namespace corvale {

// A Prompter for tests: it holds the questions a test expects, in order, with
// their answers. A question of another kind or text, or one beyond the script,
// is a failure: by default the process stops with a message naming both the
// expected and the actual question, so no test can pass over a surprise.
class ScriptedPrompter : public Prompter {
public:
    enum class Kind {
        Error,
        Information,
        Warning,
        Confirm,
        ConfirmCancel,
        Input,
        Password,
        OpenFile,
        SaveFile
    };

    struct Step {
        Kind kind;
        QString text;    // message, or prompt of an input/password box; empty = any
        QString caption; // input box caption; empty = any
        Answer answer = Answer::Yes;
        std::optional<QString> reply;    // input/password/file answer; nullopt = cancel
        std::optional<QString> proposal; // expected proposal of an input box
    };

    ScriptedPrompter();
    ~ScriptedPrompter() override;

    ScriptedPrompter &expectError(const QString &text);
    ScriptedPrompter &expectInformation(const QString &text);
    ScriptedPrompter &expectWarning(const QString &text);
    ScriptedPrompter &expectConfirm(const QString &text, bool yes);
    ScriptedPrompter &expectConfirmCancel(const QString &text, Answer answer);
    ScriptedPrompter &expectInput(const QString &caption, const QString &prompt,
                                  std::optional<QString> reply,
                                  std::optional<QString> proposal = std::nullopt);
    ScriptedPrompter &expectPassword(const QString &prompt, std::optional<QString> reply);
    ScriptedPrompter &expectOpenFile(std::optional<QString> path);
    ScriptedPrompter &expectSaveFile(std::optional<QString> path);

    // True when every expected question was asked and nothing else was.
    bool done() const { return m_steps.isEmpty() && m_failures.isEmpty(); }
    qsizetype pending() const { return m_steps.size(); }
    QStringList failures() const { return m_failures; }
    // Everything asked so far, as "kind: text" lines.
    QStringList transcript() const { return m_transcript; }

    // Replaces the default failure (qFatal) — for tests of the prompter itself.
    void setFailureHandler(std::function<void(const QString &)> handler);

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

    static QString kindName(Kind kind);

private:
    // The next step when it matches, or nullopt after reporting the surprise.
    std::optional<Step> take(Kind kind, const QString &text, const QString &caption = {},
                             const std::optional<QString> &proposal = std::nullopt);
    void fail(const QString &message);

    QList<Step> m_steps;
    QStringList m_failures;
    QStringList m_transcript;
    std::function<void(const QString &)> m_onFailure;
};

} // namespace corvale
