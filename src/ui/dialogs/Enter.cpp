#include "Enter.h"

#include "ui_Enter.h"

TfEnter::TfEnter(QWidget* parent)
    : OkCancelDialog(parent, EnterResult), ui(std::make_unique<Ui::TfEnter>()) {
    ui->setupUi(this);
    ConnectControls(*ui->bOK, *ui->bCancel);
}

TfEnter::~TfEnter() = default;

std::optional<QString> TfEnter::EnterValue(const QString& legend, const QString& value,
                                           const QPoint& pointer) {
    ui->lLegend->setText(legend);
    ui->eValue->setAccessibleName(legend);
    ui->eValue->setText(value);
    ui->eValue->selectAll();
    ui->eValue->setFocus();
    if (!ShowAbovePointer(pointer)) {
        return std::nullopt;
    }
    return ui->eValue->text();
}
