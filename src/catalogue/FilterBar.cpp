#include "catalogue/FilterBar.h"

#include "catalogue/CapitalsValidator.h"
#include "widgets/LookupCombo.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>

namespace corvale::filterbar {

namespace {

class BackspaceClears : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent *>(event)->key() == Qt::Key_Backspace) {
            if (auto *box = qobject_cast<QComboBox *>(watched)) {
                box->setCurrentIndex(-1);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QWidget *create(QWidget *parent, QBoxLayout *layout) {
    auto *bar = new QWidget(parent);
    bar->setObjectName(QStringLiteral("FilterBar"));
    bar->setFixedHeight(height);
    layout->addWidget(bar);
    return bar;
}

QLineEdit *textBox(QWidget *bar, const char *name, int maxLength) {
    auto *e = new QLineEdit(bar);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaxLength(maxLength);
    e->setValidator(new CapitalsValidator(e));
    return e;
}

LookupCombo *listBox(QWidget *bar, const char *name) {
    auto *c = new LookupCombo(bar);
    c->setObjectName(QString::fromLatin1(name));
    clearOnBackspace(c);
    return c;
}

void clearOnBackspace(QComboBox *box) {
    box->installEventFilter(new BackspaceClears(box));
}

const QStringList &seasons() {
    static const QStringList items{QStringLiteral(" "), QStringLiteral("Autunno/Inverno"),
                                   QStringLiteral("Primavera/Estate"),
                                   QStringLiteral("Quattro Stagioni")};
    return items;
}

} // namespace corvale::filterbar
