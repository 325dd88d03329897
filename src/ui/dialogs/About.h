#pragma once

#include "ui/panel/SecondaryWindows.h"

#include <QDialog>
#include <functional>
#include <memory>

namespace Ui {
class TfAbout;
}

// The About box: the program's title with the model the instrument reported, its release
// date and version, and the copyright line.
class TfAbout : public QDialog, public AboutBox {
    Q_OBJECT

public:
    explicit TfAbout(std::function<QString()> modelName, QWidget* parent = nullptr);
    ~TfAbout() override;

    void ShowModal() override { exec(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowProgramName();

    std::unique_ptr<Ui::TfAbout> ui;
    std::function<QString()> modelName_;
};
