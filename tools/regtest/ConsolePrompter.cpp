#include "ConsolePrompter.h"

#include <cstdio>

namespace corvale {

namespace {

void print(FILE *to, const QString &text) {
    std::fprintf(to, "%s\n", qPrintable(Prompter::displayText(text)));
    std::fflush(to);
}

} // namespace

void ConsolePrompter::error(const QString &text) {
    m_lastError = text;
    print(stderr, text);
}

void ConsolePrompter::information(const QString &text) {
    print(stdout, text);
}

void ConsolePrompter::warning(const QString &text) {
    print(stderr, text);
}

bool ConsolePrompter::confirm(const QString &text) {
    print(stdout, text);
    return false;
}

Prompter::Answer ConsolePrompter::confirmWithCancel(const QString &text) {
    print(stdout, text);
    return Answer::Cancel;
}

std::optional<QString> ConsolePrompter::input(const QString &, const QString &, const QString &) {
    return std::nullopt;
}

std::optional<QString> ConsolePrompter::password(const QString &, const QString &) {
    return std::nullopt;
}

std::optional<QString> ConsolePrompter::openFile(const QString &, const QString &,
                                                 const QString &) {
    return std::nullopt;
}

std::optional<QString> ConsolePrompter::saveFile(const QString &, const QString &, const QString &,
                                                 const QString &) {
    return std::nullopt;
}

} // namespace corvale
