#pragma once

#include <QStringList>

class QBoxLayout;
class QComboBox;
class QLineEdit;
class QWidget;

namespace corvale {

class LookupCombo;

// The filter bar over an article list: a strip whose boxes stand over the
// list columns they filter. The boxes are named for tests and the program walk.
namespace filterbar {

constexpr int height = 26;

// The strip, named "FilterBar", `height` high, added to `layout`.
QWidget *create(QWidget *parent, QBoxLayout *layout);
// A box of typed text named `name`, at most `maxLength` long, in capitals.
QLineEdit *textBox(QWidget *bar, const char *name, int maxLength);
// A list named `name` whose choice Backspace takes away.
LookupCombo *listBox(QWidget *bar, const char *name);
// Backspace in `box` takes its choice away (index -1).
void clearOnBackspace(QComboBox *box);
// The season choices: a blank for none, then the three seasons.
const QStringList &seasons();

} // namespace filterbar
} // namespace corvale
