#pragma once

#include <QObject>
#include <functional>

class QDialog;

// The key preview of the pick and enter dialogs: whichever control has the focus, Esc acts as
// Cancel and Enter (either Enter key) as OK.
class DialogKeys final : public QObject {
public:
    DialogKeys(QDialog& dialog, std::function<void()> ok, std::function<void()> cancel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> ok_;
    std::function<void()> cancel_;
};
