#include "widgets/FieldBinding.h"

#include "db/Error.h"
#include "db/Table.h"
#include "platform/Formats.h"
#include "widgets/TableModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace corvale {

FieldBinding::FieldBinding(db::Table &table, QObject *parent)
    : QObject(parent)
    , m_table(table) {}

char FieldBinding::fieldType(const QString &field) const {
    for (const auto &def : m_table.fieldDefs()) {
        if (def.name.compare(field, Qt::CaseInsensitive) == 0)
            return def.isNumeric() ? 'N' : def.type;
    }
    return 'C';
}

void FieldBinding::bind(QLineEdit *edit, const QString &field, const QString &displayFormat) {
    m_bindings << Binding{edit, field, displayFormat};
    const Binding b = m_bindings.back();
    limitLength(b);
    connect(edit, &QLineEdit::textEdited, this, [this, b] { userChanged(b); });
    connect(edit, &QLineEdit::editingFinished, this, [this, b] { editingFinished(b); });
}

void FieldBinding::bind(QCheckBox *box, const QString &field) {
    m_bindings << Binding{box, field, {}};
    const Binding b = m_bindings.back();
    connect(box, &QCheckBox::toggled, this, [this, b] { userChanged(b); });
}

void FieldBinding::bind(QComboBox *combo, const QString &field) {
    m_bindings << Binding{combo, field, {}};
    const Binding b = m_bindings.back();
    connect(combo, &QComboBox::currentTextChanged, this, [this, b] { userChanged(b); });
}

void FieldBinding::bind(QPlainTextEdit *edit, const QString &field) {
    m_bindings << Binding{edit, field, {}};
    const Binding b = m_bindings.back();
    connect(edit, &QPlainTextEdit::textChanged, this, [this, b] { userChanged(b); });
}

void FieldBinding::limitLength(const Binding &b) {
    auto *edit = qobject_cast<QLineEdit *>(b.widget);
    if (!edit || !m_table.isOpen())
        return;
    for (const auto &def : m_table.fieldDefs()) {
        // A window may allow fewer characters than the column holds, never more.
        if (def.name.compare(b.field, Qt::CaseInsensitive) == 0 && def.type == 'C')
            edit->setMaxLength(std::min(edit->maxLength(), def.length));
    }
}

void FieldBinding::show(const Binding &b) {
    QWidget *w = b.widget;
    if (!w)
        return;
    limitLength(b);
    // A record being appended has no record number yet but is shown all the same.
    const bool has = m_table.isOpen() &&
                     (m_table.recordNumber() != 0 || m_table.state() == db::Table::State::Insert);
    if (auto *edit = qobject_cast<QLineEdit *>(w)) {
        edit->setText(has ? TableModel::displayText(m_table.value(b.field), b.format) : QString());
        edit->setCursorPosition(0);
    } else if (auto *box = qobject_cast<QCheckBox *>(w)) {
        box->setChecked(has && m_table.asBool(b.field));
    } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
        const QString text = has ? m_table.asString(b.field) : QString();
        const int i = combo->findText(text);
        if (i >= 0)
            combo->setCurrentIndex(i);
        else if (combo->isEditable())
            combo->setEditText(text);
        else
            combo->setCurrentIndex(-1);
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(w)) {
        plain->setPlainText(has ? m_table.asString(b.field) : QString());
    }
}

void FieldBinding::load() {
    m_loading = true;
    m_shown.clear();
    for (const Binding &b : std::as_const(m_bindings)) {
        show(b);
        if (b.widget && !qobject_cast<QCheckBox *>(b.widget))
            m_shown.insert(b.widget, currentText(b.widget));
    }
    m_loading = false;
}

QString FieldBinding::currentText(const QWidget *w) {
    if (auto *edit = qobject_cast<const QLineEdit *>(w))
        return edit->text();
    if (auto *combo = qobject_cast<const QComboBox *>(w))
        return combo->currentText();
    if (auto *plain = qobject_cast<const QPlainTextEdit *>(w))
        return plain->toPlainText();
    return {};
}

namespace {
const QString kInvalidValue = QStringLiteral("Valore non valido");
}

bool FieldBinding::textFits(const Binding &b) const {
    // A closed handle has no fields to read: nothing is written to it either.
    const auto *edit = qobject_cast<const QLineEdit *>(b.widget.data());
    if (!edit || !m_table.isOpen() || edit->text().trimmed().isEmpty())
        return true;
    switch (fieldType(b.field)) {
    case 'N':
        return Formats::parseNumber(edit->text()).has_value();
    case 'D':
        return Formats::parseDate(edit->text()).has_value();
    default:
        return true;
    }
}

void FieldBinding::editingFinished(const Binding &b) {
    if (m_loading || textFits(b))
        return;
    show(b);
    Q_EMIT writeFailed(kInvalidValue);
}

bool FieldBinding::checkTexts() {
    for (const Binding &b : std::as_const(m_bindings)) {
        if (!textFits(b)) {
            show(b);
            if (b.widget)
                b.widget->setFocus();
            Q_EMIT writeFailed(kInvalidValue);
            return false;
        }
    }
    return true;
}

bool FieldBinding::write(const Binding &b, bool whileTyping) {
    QWidget *w = b.widget;
    if (!w)
        return true;
    try {
        if (auto *box = qobject_cast<QCheckBox *>(w)) {
            m_table.setBool(b.field, box->isChecked());
            return true;
        }
        const QString text = currentText(w);
        switch (fieldType(b.field)) {
        case 'N': {
            if (text.trimmed().isEmpty()) {
                m_table.setNull(b.field);
                return true;
            }
            const auto number = Formats::parseNumber(text);
            if (!number) {
                if (!whileTyping)
                    Q_EMIT writeFailed(kInvalidValue);
                return false;
            }
            m_table.setFloat(b.field, *number);
            return true;
        }
        case 'D': {
            if (text.trimmed().isEmpty()) {
                m_table.setDate(b.field, QDate());
                return true;
            }
            const auto date = Formats::parseDate(text);
            if (!date) {
                if (!whileTyping)
                    Q_EMIT writeFailed(kInvalidValue);
                return false;
            }
            m_table.setDate(b.field, *date);
            return true;
        }
        default:
            m_table.setString(b.field, text);
            return true;
        }
    } catch (const db::Error &e) {
        Q_EMIT writeFailed(e.message());
        return false;
    }
}

bool FieldBinding::store() {
    bool ok = true;
    for (const Binding &b : std::as_const(m_bindings)) {
        const auto shown = m_shown.constFind(b.widget.data());
        if (b.widget && shown != m_shown.cend() && *shown == currentText(b.widget))
            continue; // untouched since shown: the record already holds its value
        ok = write(b) && ok;
    }
    return ok;
}

void FieldBinding::userChanged(const Binding &b) {
    if (m_loading || !m_table.isOpen())
        return;
    if (m_table.state() == db::Table::State::Browse) {
        if (!m_autoEdit || m_table.recordNumber() == 0)
            return;
        m_table.edit();
    }
    if (write(b, true))
        Q_EMIT fieldChanged(b.field);
}

} // namespace corvale
