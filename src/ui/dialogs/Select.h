#pragma once

#include <QDialog>

// The pick-one-item dialog of the alarm outputs table; it arrives with that table.
class TfSelect : public QDialog {
    Q_OBJECT

public:
    explicit TfSelect(QWidget* parent = nullptr);
};
