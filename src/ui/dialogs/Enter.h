#pragma once

#include "OkCancelDialog.h"
#include "ui/panel/Dialogs.h"

#include <memory>

namespace Ui {
class TfEnter;
}

// The enter-a-value dialog: a legend, one edit holding the current value, Cancel and OK. Shown
// modally above and to the left of the pointer; EnterResult tells whether it ended with OK.
class TfEnter : public OkCancelDialog, public ValueEntry {
    Q_OBJECT

public:
    explicit TfEnter(QWidget* parent = nullptr);
    ~TfEnter() override;

    // Clears EnterResult, fills and places the dialog, shows it modally; the text when it ended
    // with OK.
    std::optional<QString> EnterValue(const QString& legend, const QString& value,
                                      const QPoint& pointer) override;

    // True after OK; false after Cancel, Esc and at creation. The close box leaves it as it is.
    bool EnterResult = false;

private:
    std::unique_ptr<Ui::TfEnter> ui;
};
