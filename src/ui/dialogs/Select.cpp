#include "Select.h"

#include "ui_Select.h"

#include <QCursor>

namespace {
constexpr int kItemHeight = 16;
}

TfSelect::TfSelect(QWidget* parent)
    : OkCancelDialog(parent, SelectResult), ui(std::make_unique<Ui::TfSelect>()) {
    ui->setupUi(this);
    ConnectControls(*ui->bOK, *ui->bCancel);
    move(QCursor::pos() - QPoint(width(), height()));
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
    const bool ok = ShowAbovePointer(pointer);
    const QList<QListWidgetItem*> chosen = ui->ListBox1->selectedItems();
    if (!ok || chosen.isEmpty()) {
        return std::nullopt;
    }
    return ui->ListBox1->row(chosen.front());
}
