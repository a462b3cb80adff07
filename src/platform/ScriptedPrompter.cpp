#include "platform/ScriptedPrompter.h"

#include <QtGlobal>

namespace corvale {

ScriptedPrompter::ScriptedPrompter() = default;

ScriptedPrompter::~ScriptedPrompter() {
    if (!m_steps.isEmpty() && !m_onFailure) {
        qWarning("ScriptedPrompter: %d expected question(s) never asked, first: %s: %s",
                 int(m_steps.size()), qPrintable(kindName(m_steps.first().kind)),
                 qPrintable(m_steps.first().text));
    }
}

QString ScriptedPrompter::kindName(Kind kind) {
    switch (kind) {
    case Kind::Error:
        return QStringLiteral("error");
    case Kind::Information:
        return QStringLiteral("information");
    case Kind::Warning:
        return QStringLiteral("warning");
    case Kind::Confirm:
        return QStringLiteral("confirm");
    case Kind::ConfirmCancel:
        return QStringLiteral("confirm/cancel");
    case Kind::Input:
        return QStringLiteral("input");
    case Kind::Password:
        return QStringLiteral("password");
    case Kind::OpenFile:
        return QStringLiteral("open file");
    case Kind::SaveFile:
        return QStringLiteral("save file");
    }
    return {};
}

void ScriptedPrompter::setFailureHandler(std::function<void(const QString &)> handler) {
    m_onFailure = std::move(handler);
}

void ScriptedPrompter::fail(const QString &message) {
    m_failures << message;
    if (m_onFailure)
        m_onFailure(message);
    else
        qFatal("ScriptedPrompter: %s", qPrintable(message));
}

std::optional<ScriptedPrompter::Step>
ScriptedPrompter::take(Kind kind, const QString &text, const QString &caption,
                       const std::optional<QString> &proposal) {
    m_transcript << kindName(kind) + QStringLiteral(": ") + text;
    if (m_steps.isEmpty()) {
        fail(QStringLiteral("unexpected %1 \"%2\": no more questions expected")
                 .arg(kindName(kind), text));
        return std::nullopt;
    }
    const Step step = m_steps.takeFirst();
    if (step.kind != kind || (!step.text.isEmpty() && step.text != text) ||
        (!step.caption.isEmpty() && step.caption != caption) ||
        (step.proposal && proposal && *step.proposal != *proposal)) {
        fail(QStringLiteral("expected %1 \"%2\"%3, got %4 \"%5\"%6")
                 .arg(kindName(step.kind), step.text,
                      step.proposal ? QStringLiteral(" proposing \"%1\"").arg(*step.proposal)
                                    : QString(),
                      kindName(kind), text,
                      proposal ? QStringLiteral(" proposing \"%1\"").arg(*proposal) : QString()));
        return std::nullopt;
    }
    return step;
}

ScriptedPrompter &ScriptedPrompter::expectError(const QString &text) {
    m_steps << Step{Kind::Error, text, {}, Answer::Yes, {}, {}};
    return *this;
}

ScriptedPrompter &ScriptedPrompter::expectInformation(const QString &text) {
    m_steps << Step{Kind::Information, text, {}, Answer::Yes, {}, {}};
    return *this;
}

ScriptedPrompter &ScriptedPrompter::expectWarning(const QString &text) {
    m_steps << Step{Kind::Warning, text, {}, Answer::Yes, {}, {}};
    return *this;
}

ScriptedPrompter &ScriptedPrompter::expectConfirm(const QString &text, bool yes) {
    m_steps << Step{Kind::Confirm, text, {}, yes ? Answer::Yes : Answer::No, {}, {}};
    return *this;
}

ScriptedPrompter &ScriptedPrompter::expectConfirmCancel(const QString &text, Answer answer) {
    m_steps << Step{Kind::ConfirmCancel, text, {}, answer, {}, {}};
    return *this;
}

ScriptedPrompter &ScriptedPrompter::expectInput(const QString &caption, const QString &prompt,
                                                std::optional<QString> reply,
                                                std::optional<QString> proposal) {
    m_steps << Step{Kind::Input, prompt,           caption,
                    Answer::Yes, std::move(reply), std::move(proposal)};
    return *this;
}

ScriptedPrompter &ScriptedPrompter::expectPassword(const QString &prompt,
                                                   std::optional<QString> reply) {
    m_steps << Step{Kind::Password, prompt, {}, Answer::Yes, std::move(reply), {}};
    return *this;
}

ScriptedPrompter &ScriptedPrompter::expectOpenFile(std::optional<QString> path) {
    m_steps << Step{Kind::OpenFile, {}, {}, Answer::Yes, std::move(path), {}};
    return *this;
}

ScriptedPrompter &ScriptedPrompter::expectSaveFile(std::optional<QString> path) {
    m_steps << Step{Kind::SaveFile, {}, {}, Answer::Yes, std::move(path), {}};
    return *this;
}

void ScriptedPrompter::error(const QString &text) {
    take(Kind::Error, text);
}

void ScriptedPrompter::information(const QString &text) {
    take(Kind::Information, text);
}

void ScriptedPrompter::warning(const QString &text) {
    take(Kind::Warning, text);
}

bool ScriptedPrompter::confirm(const QString &text) {
    const auto step = take(Kind::Confirm, text);
    return step && step->answer == Answer::Yes;
}

Prompter::Answer ScriptedPrompter::confirmWithCancel(const QString &text) {
    const auto step = take(Kind::ConfirmCancel, text);
    return step ? step->answer : Answer::Cancel;
}

std::optional<QString> ScriptedPrompter::input(const QString &caption, const QString &prompt,
                                               const QString &proposal) {
    const auto step = take(Kind::Input, prompt, caption, proposal);
    return step ? step->reply : std::nullopt;
}

std::optional<QString> ScriptedPrompter::password(const QString &caption, const QString &prompt) {
    const auto step = take(Kind::Password, prompt, caption);
    return step ? step->reply : std::nullopt;
}

std::optional<QString> ScriptedPrompter::openFile(const QString &title, const QString &filter,
                                                  const QString &) {
    const auto step = take(Kind::OpenFile, {}, title);
    Q_UNUSED(filter)
    return step ? step->reply : std::nullopt;
}

std::optional<QString> ScriptedPrompter::saveFile(const QString &title, const QString &,
                                                  const QString &, const QString &) {
    const auto step = take(Kind::SaveFile, {}, title);
    return step ? step->reply : std::nullopt;
}

} // namespace corvale
