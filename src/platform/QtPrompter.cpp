#include "platform/QtPrompter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace corvale {

namespace {

int showBox(QMessageBox::Icon icon, const QString &title, const QString &text,
            QMessageBox::StandardButtons buttons, QWidget *parent) {
    QMessageBox box(icon, title, Prompter::displayText(text), buttons, parent);
    if (auto *b = box.button(QMessageBox::Yes))
        b->setText(QStringLiteral("&Sì"));
    if (auto *b = box.button(QMessageBox::No))
        b->setText(QStringLiteral("&No"));
    if (auto *b = box.button(QMessageBox::Cancel))
        b->setText(QStringLiteral("Annulla"));
    if (auto *b = box.button(QMessageBox::Ok))
        b->setText(QStringLiteral("OK"));
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int result = box.exec();
    QApplication::restoreOverrideCursor();
    return result;
}

std::optional<QString> askText(QWidget *parent, const QString &caption, const QString &prompt,
                               const QString &proposal, QLineEdit::EchoMode mode) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(Prompter::displayText(prompt));
    dialog.setTextValue(proposal);
    dialog.setTextEchoMode(mode);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annulla"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

} // namespace

QtPrompter::QtPrompter(QString title)
    : m_title(std::move(title)) {}

QWidget *QtPrompter::parent() {
    return QApplication::activeWindow();
}

void QtPrompter::error(const QString &text) {
    showBox(QMessageBox::Critical, QStringLiteral("Errore"), text, QMessageBox::Ok, parent());
}

void QtPrompter::information(const QString &text) {
    showBox(QMessageBox::Information, m_title, text, QMessageBox::Ok, parent());
}

void QtPrompter::warning(const QString &text) {
    showBox(QMessageBox::Warning, QStringLiteral("Attenzione"), text, QMessageBox::Ok, parent());
}

bool QtPrompter::confirm(const QString &text) {
    return showBox(QMessageBox::Question, QStringLiteral("Conferma"), text,
                   QMessageBox::Yes | QMessageBox::No, parent()) == QMessageBox::Yes;
}

Prompter::Answer QtPrompter::confirmWithCancel(const QString &text) {
    switch (showBox(QMessageBox::Question, QStringLiteral("Conferma"), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent())) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtPrompter::input(const QString &caption, const QString &prompt,
                                         const QString &proposal) {
    return askText(parent(), caption, prompt, proposal, QLineEdit::Normal);
}

std::optional<QString> QtPrompter::password(const QString &caption, const QString &prompt) {
    return askText(parent(), caption.isEmpty() ? QStringLiteral("Password") : caption, prompt, {},
                   QLineEdit::Password);
}

std::optional<QString> QtPrompter::openFile(const QString &title, const QString &filter,
                                            const QString &directory) {
    const QString path = QFileDialog::getOpenFileName(parent(), title, directory, qtFilter(filter));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtPrompter::saveFile(const QString &title, const QString &filter,
                                            const QString &directory, const QString &proposedName) {
    const QString start =
        proposedName.isEmpty() ? directory : QDir(directory).filePath(proposedName);
    const QString path = QFileDialog::getSaveFileName(parent(), title, start, qtFilter(filter));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace corvale
