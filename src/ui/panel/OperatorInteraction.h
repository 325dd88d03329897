#pragma once

#include <QString>

// Everything the program asks or tells the operator goes through here: message boxes in the
// program, scripted answers in tests, so no test ever waits on a modal dialog.
class OperatorInteraction {
public:
    virtual ~OperatorInteraction() = default;
    // A question with the confirmation icon and the buttons Yes and No; true only on Yes.
    virtual bool Ask(const QString& question) = 0;
    // A notice with an OK button.
    virtual void Notify(const QString& notice) = 0;
    // A message with a single OK button that the operator may also close without OK;
    // true when it was answered with OK.
    virtual bool Acknowledge(const QString& message) = 0;
    // An error report (error icon, OK): file and conversion errors.
    virtual void ReportError(const QString& message) = 0;
    // The file-open dialog with a filter such as "Text files (*.txt)|*.TXT"; the chosen path,
    // or an empty text when the operator cancels.
    virtual QString OpenFile(const QString& filter) = 0;
};
