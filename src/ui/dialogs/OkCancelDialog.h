#pragma once

#include <QDialog>

class QPushButton;

// What the pick and enter dialogs share. OK and Cancel set the dialog's result flag and close
// it; closing it by the window frame leaves the flag as it is. Whichever control has the focus,
// Esc acts as Cancel and Enter (either Enter key) as OK. Each showing is modal, with the
// dialog's lower-right corner 10 pixels to the left of and above the pointer, so the dialog
// does not hide what the pointer is on.
class OkCancelDialog : public QDialog {
    Q_OBJECT

public:
    void bOKClick();
    void bCancelClick();

protected:
    // `result` is the dialog's own result flag.
    OkCancelDialog(QWidget* parent, bool& result);

    // Once the form is set up: the form's size becomes fixed, and the buttons and keys act.
    void ConnectControls(QPushButton& ok, QPushButton& cancel);
    // Clears the result flag, places the dialog and shows it modally; the flag afterwards.
    bool ShowAbovePointer(const QPoint& pointer);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool& result_;
};
