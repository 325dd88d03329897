#pragma once

#include "ui/panel/Dialogs.h"

#include <QDialog>

// The pick-one-item dialog of the alarm outputs table; it arrives with that table.
class TfSelect : public QDialog, public ItemSelection {
    Q_OBJECT

public:
    explicit TfSelect(QWidget* parent = nullptr);

    std::optional<int> SelectItem(const QString&, const QStringList&, int,
                                  const QPoint&) override {
        return std::nullopt;
    }
};
