#pragma once

#include "ui/panel/Dialogs.h"

#include <QDialog>

// The enter-a-value dialog of the alarm outputs table; it arrives with that table.
class TfEnter : public QDialog, public ValueEntry {
    Q_OBJECT

public:
    explicit TfEnter(QWidget* parent = nullptr);

    std::optional<QString> EnterValue(const QString&, const QString&, const QPoint&) override {
        return std::nullopt;
    }
};
