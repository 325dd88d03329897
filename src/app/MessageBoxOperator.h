#pragma once

#include "ui/panel/OperatorInteraction.h"

class QWidget;

// The operator's side of the program: modal message boxes and the file-open dialog.
class MessageBoxOperator final : public OperatorInteraction {
public:
    bool Ask(const QString& question) override;
    void Notify(const QString& notice) override;
    bool Acknowledge(const QString& message) override;
    void ReportError(const QString& message) override;
    QString OpenFile(const QString& filter) override;
};

// "Description|Pattern;Pattern|..." as a Qt name filter: "Description (Pattern Pattern);;...".
QString QtNameFilter(const QString& filter);
