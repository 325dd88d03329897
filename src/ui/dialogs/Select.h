#pragma once

#include "OkCancelDialog.h"
#include "ui/panel/Dialogs.h"

#include <memory>

namespace Ui {
class TfSelect;
}

// The pick-one-item dialog: a legend, a list with one item preselected, OK and Cancel. Shown
// modally above and to the left of the pointer; SelectResult tells whether it ended with OK.
class TfSelect : public OkCancelDialog, public ItemSelection {
    Q_OBJECT

public:
    explicit TfSelect(QWidget* parent = nullptr);
    ~TfSelect() override;

    // Clears SelectResult, fills and places the dialog, shows it modally; the selected index
    // when it ended with OK and an item is selected.
    std::optional<int> SelectItem(const QString& legend, const QStringList& items, int selected,
                                  const QPoint& pointer) override;

    // True after OK; false after Cancel, Esc and at creation. The close box leaves it as it is.
    bool SelectResult = false;

private:
    std::unique_ptr<Ui::TfSelect> ui;
};
