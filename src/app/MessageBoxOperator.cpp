#include "MessageBoxOperator.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <iostream>

namespace {

QString Title() {
    return QApplication::applicationDisplayName();
}

// The window the box belongs to: the one the operator is working in.
QWidget* Owner() {
    return QApplication::activeWindow();
}

} // namespace

MessageBoxOperator::MessageBoxOperator(std::ostream& unattendedOutput)
    : unattendedOutput_(unattendedOutput) {}

MessageBoxOperator::MessageBoxOperator() : MessageBoxOperator(std::cerr) {}

bool MessageBoxOperator::Ask(const QString& question) {
    if (unattended_) {
        Write("question answered No", question);
        return false;
    }
    return QMessageBox::question(Owner(), Title(), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxOperator::Notify(const QString& notice) {
    if (unattended_) {
        Write("notice", notice);
        return;
    }
    QMessageBox box(QMessageBox::Question, Title(), notice, QMessageBox::Ok, Owner());
    box.exec();
}

bool MessageBoxOperator::Acknowledge(const QString& message) {
    if (unattended_) {
        Write("message not acknowledged", message);
        return false;
    }
    QMessageBox box(QMessageBox::Information, Title(), message, QMessageBox::NoButton, Owner());
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == ok;
}

void MessageBoxOperator::ReportError(const QString& message) {
    if (unattended_) {
        Write("error", message);
        return;
    }
    QMessageBox::critical(Owner(), Title(), message);
}

QString MessageBoxOperator::OpenFile(const QString& filter) {
    if (unattended_) {
        Write("no file chosen", filter);
        return {};
    }
    // The files the program writes and reads lie in the working folder; Qt would otherwise
    // open on the last folder visited.
    return QFileDialog::getOpenFileName(Owner(), QString(), QDir::currentPath(),
                                        QtNameFilter(filter));
}

void MessageBoxOperator::SetUnattended(bool unattended) {
    unattended_ = unattended;
    if (!unattended_) {
        return;
    }
    // Each cancelled dialog returns from its own wait once the event loop gets back to it.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog && dialog->isVisible() && dialog->isModal()) {
            dialog->reject();
        }
    }
}

void MessageBoxOperator::Write(const char* kind, const QString& text) {
    unattendedOutput_ << "control-panel: " << kind << ": " << text.toLocal8Bit().constData()
                      << std::endl;
}

QString QtNameFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(parts[i].trimmed() + QStringLiteral(" (") + patterns.trimmed() +
                       QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}
