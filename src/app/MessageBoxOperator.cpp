#include "MessageBoxOperator.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString Title() {
    return QApplication::applicationDisplayName();
}

// The window the box belongs to: the one the operator is working in.
QWidget* Owner() {
    return QApplication::activeWindow();
}

} // namespace

bool MessageBoxOperator::Ask(const QString& question) {
    return QMessageBox::question(Owner(), Title(), question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxOperator::Notify(const QString& notice) {
    QMessageBox box(QMessageBox::Question, Title(), notice, QMessageBox::Ok, Owner());
    box.exec();
}

bool MessageBoxOperator::Acknowledge(const QString& message) {
    QMessageBox box(QMessageBox::Information, Title(), message, QMessageBox::NoButton, Owner());
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == ok;
}

void MessageBoxOperator::ReportError(const QString& message) {
    QMessageBox::critical(Owner(), Title(), message);
}

QString MessageBoxOperator::OpenFile(const QString& filter) {
    return QFileDialog::getOpenFileName(Owner(), QString(), QString(), QtNameFilter(filter));
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
