#pragma once

#include "ui/panel/OperatorInteraction.h"

#include <iosfwd>

class QWidget;

// The operator's side of the program: modal message boxes and the file-open dialog, or, once
// unattended, lines on standard error.
class MessageBoxOperator final : public OperatorInteraction {
public:
    // Where the unattended reports go.
    explicit MessageBoxOperator(std::ostream& unattendedOutput);
    MessageBoxOperator();

    bool Ask(const QString& question) override;
    void Notify(const QString& notice) override;
    bool Acknowledge(const QString& message) override;
    void ReportError(const QString& message) override;
    QString OpenFile(const QString& filter) override;

    // For a close that nobody watches (a signal, the end of the session): from then on every
    // report is a line of text, a question answers No, a message counts as not acknowledged
    // and no file is chosen. The modal dialogs still open are cancelled as the operator would.
    void SetUnattended(bool unattended);
    bool Unattended() const { return unattended_; }

private:
    void Write(const char* kind, const QString& text);

    std::ostream& unattendedOutput_;
    bool unattended_ = false;
};

// "Description|Pattern;Pattern|..." as a Qt name filter: "Description (Pattern Pattern);;...".
QString QtNameFilter(const QString& filter);
