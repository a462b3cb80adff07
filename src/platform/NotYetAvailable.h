#pragma once

#include "platform/Prompter.h"

namespace corvale {

// What a button says while the window it opens is not part of the program yet:
// never a dead button.
inline const QString &notYetAvailableText() {
    static const QString text = QStringLiteral("Funzione non ancora disponibile");
    return text;
}

inline void reportNotYetAvailable(Prompter &prompter) {
    prompter.information(notYetAvailableText());
}

} // namespace corvale
