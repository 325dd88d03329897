#include "About.h"

#include "ui/panel/WindowPlacement.h"
#include "ui_About.h"

TfAbout::TfAbout(std::function<QString()> modelName, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TfAbout>()), modelName_(std::move(modelName)) {
    ui->setupUi(this);
    setFixedSize(420, 178);
    move(CentredOnScreen(size()));
    ui->lVersion->setText(QStringLiteral("10 November 2018 Version 2.8"));
    ui->lCopyright->setText(
        QStringLiteral("Copyright \u00A9 2018-2026 the Vxxx Control Panel project"));
    ShowProgramName();
    connect(ui->bExit, &QPushButton::clicked, this, &QDialog::accept);
}

TfAbout::~TfAbout() = default;

void TfAbout::showEvent(QShowEvent* event) {
    ShowProgramName();
    QDialog::showEvent(event);
}

void TfAbout::ShowProgramName() {
    ui->lProgramName->setText(modelName_() + QStringLiteral(" Control Panel"));
}
