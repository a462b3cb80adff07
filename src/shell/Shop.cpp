#include "shell/Shop.h"

namespace corvale {

Shop::Shop(ProgramFolder folder, Clock &clock, Prompter &prompter)
    : m_folder(std::move(folder))
    , m_clock(clock)
    , m_prompter(prompter)
    , m_ini(m_folder.iniPath()) {}

Shop::~Shop() = default;

} // namespace corvale
