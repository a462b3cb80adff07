#include "SilentPrompter.h"

namespace corvale {

void SilentPrompter::error(const QString &text) {
    m_messages << text;
}

void SilentPrompter::information(const QString &text) {
    m_messages << text;
}

void SilentPrompter::warning(const QString &text) {
    m_messages << text;
}

bool SilentPrompter::confirm(const QString &) {
    return false;
}

Prompter::Answer SilentPrompter::confirmWithCancel(const QString &) {
    return Answer::Cancel;
}

std::optional<QString> SilentPrompter::input(const QString &, const QString &, const QString &) {
    return std::nullopt;
}

std::optional<QString> SilentPrompter::password(const QString &, const QString &) {
    return std::nullopt;
}

std::optional<QString> SilentPrompter::openFile(const QString &, const QString &, const QString &) {
    return std::nullopt;
}

std::optional<QString> SilentPrompter::saveFile(const QString &, const QString &, const QString &,
                                                const QString &) {
    return std::nullopt;
}

} // namespace corvale
