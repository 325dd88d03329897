#include "Enter.h"

#include "DialogKeys.h"
#include "DialogPlacement.h"
#include "ui_Enter.h"

TfEnter::TfEnter(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfEnter>()) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->bOK, &QPushButton::clicked, this, &TfEnter::bOKClick);
    connect(ui->bCancel, &QPushButton::clicked, this, &TfEnter::bCancelClick);
    new DialogKeys(
        *this, [this] { bOKClick(); }, [this] { bCancelClick(); });
    EnterResult = false;
}

TfEnter::~TfEnter() = default;

std::optional<QString> TfEnter::EnterValue(const QString& legend, const QString& value,
                                           const QPoint& pointer) {
    ui->lLegend->setText(legend);
    ui->eValue->setAccessibleName(legend);
    ui->eValue->setText(value);
    ui->eValue->selectAll();
    ui->eValue->setFocus();
    EnterResult = false;
    move(AbovePointer(pointer, size()));
    exec();
    if (!EnterResult) {
        return std::nullopt;
    }
    return ui->eValue->text();
}

void TfEnter::bOKClick() {
    EnterResult = true;
    accept();
}

void TfEnter::bCancelClick() {
    EnterResult = false;
    reject();
}
