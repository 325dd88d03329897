#pragma once

#include <QDialog>

// The enter-a-value dialog of the alarm outputs table; it arrives with that table.
class TfEnter : public QDialog {
    Q_OBJECT

public:
    explicit TfEnter(QWidget* parent = nullptr);
};
