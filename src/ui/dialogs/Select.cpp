#include "Select.h"

#include "DialogKeys.h"
#include "DialogPlacement.h"
#include "ui_Select.h"

#include <QCursor>

namespace {
constexpr int kItemHeight = 16;
}

TfSelect::TfSelect(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TfSelect>()) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->bOK, &QPushButton::clicked, this, &TfSelect::bOKClick);
    connect(ui->bCancel, &QPushButton::clicked, this, &TfSelect::bCancelClick);
    new DialogKeys(
        *this, [this] { bOKClick(); }, [this] { bCancelClick(); });
    move(QCursor::pos() - QPoint(width(), height()));
    SelectResult = false;
}

TfSelect::~TfSelect() = default;

std::optional<int> TfSelect::SelectItem(const QString& legend, const QStringList& items,
                                        int selected, const QPoint& pointer) {
    ui->lLegend->setText(legend);
    ui->ListBox1->setAccessibleName(legend);
    ui->ListBox1->clear();
    for (const QString& text : items) {
        auto* item = new QListWidgetItem(text, ui->ListBox1);
        item->setSizeHint(QSize(0, kItemHeight));
    }
    ui->ListBox1->setCurrentRow(selected);
    ui->ListBox1->setFocus();
    SelectResult = false;
    move(AbovePointer(pointer, size()));
    exec();
    const QList<QListWidgetItem*> chosen = ui->ListBox1->selectedItems();
    if (!SelectResult || chosen.isEmpty()) {
        return std::nullopt;
    }
    return ui->ListBox1->row(chosen.front());
}

void TfSelect::bOKClick() {
    SelectResult = true;
    accept();
}

void TfSelect::bCancelClick() {
    SelectResult = false;
    reject();
}
