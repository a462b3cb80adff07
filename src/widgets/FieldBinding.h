#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace corvale {

namespace db {
class Table;
}

// Binds edit controls to fields of the current record of a table handle, as
// the data-aware controls of the windows do: load() shows the record, and a
// change the user makes puts the record into edit mode (when it is browsing)
// and writes the field at once. Filling the controls never writes back.
//
// The table handle must outlive the binding: an owner whose handle is a member
// deletes the binding first.
//
// Line edits get the field's width as their maximum length; numbers are shown
// with the given display pattern and read as typed in Italian; dates as
// "dd/mm/yyyy".
class FieldBinding : public QObject {
    Q_OBJECT
public:
    explicit FieldBinding(db::Table &table, QObject *parent = nullptr);

    db::Table &table() const { return m_table; }

    void bind(QLineEdit *edit, const QString &field, const QString &displayFormat = {});
    void bind(QCheckBox *box, const QString &field);
    // The combo box's text is the field's value (editable or chosen item).
    void bind(QComboBox *combo, const QString &field);
    void bind(QPlainTextEdit *edit, const QString &field);

    // Shows the current record (empty controls without one).
    void load();
    // Writes every bound control into the record (which must be in edit or
    // insert mode); false when a value is not valid for its field. A box whose
    // text is still the one load() showed is not written back, so a display
    // rounding (a rate of 2.5 shown as "3") never replaces the stored value.
    bool store();
    // Checks that every number and date box holds a value its field takes. A
    // box that does not is reported ("Valore non valido") and shows the
    // record's value again, so box and record never disagree; false then.
    bool checkTexts();
    // True while load() fills the controls.
    bool isLoading() const { return m_loading; }

    // Turns the automatic edit-mode on change off (for windows that put the
    // record into edit mode themselves).
    void setAutoEdit(bool on) { m_autoEdit = on; }

Q_SIGNALS:
    // A field was written by a user change.
    void fieldChanged(const QString &field);
    // A value could not be written; the text says why.
    void writeFailed(const QString &message);

private:
    struct Binding {
        QPointer<QWidget> widget;
        QString field;
        QString format;
    };
    // The text load() put into a text control, by control.
    QString shownText(const QWidget *widget) const { return m_shown.value(widget); }
    static QString currentText(const QWidget *widget);
    void userChanged(const Binding &binding);
    // `whileTyping`: a number or date not yet complete is left unwritten
    // without a word; leaving the box reports it.
    bool write(const Binding &binding, bool whileTyping = false);
    bool textFits(const Binding &binding) const;
    void editingFinished(const Binding &binding);
    void show(const Binding &binding);
    void limitLength(const Binding &binding);
    char fieldType(const QString &field) const;

    db::Table &m_table;
    QList<Binding> m_bindings;
    bool m_loading = false;
    bool m_autoEdit = true;
    QHash<const QWidget *, QString> m_shown;
};

} // namespace corvale
