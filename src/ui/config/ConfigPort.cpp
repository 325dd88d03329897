// The serial port choice of the configuration window.
#include "Config.h"
#include "PortChoice.h"
#include "ui_Config.h"

#include <QLineEdit>

namespace {

QString PortText(const std::string& name) {
    return QString::fromLocal8Bit(name);
}

QStringList Items(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i) {
        items.append(box.itemText(i));
    }
    return items;
}

} // namespace

void TForm3::FillPortChoice() {
    const QString current = PortText(serialPort_.CommPort());
    const QStringList offered = PortChoice::Offered(current);
    ui->cbPort->addItems(offered);
    // The port in use is always offered, so a re-selection never moves the link elsewhere.
    ui->cbPort->setCurrentIndex(PortChoice::IndexOf(offered, current));
}

QString TForm3::SelectedPort() const {
    const int index = ui->cbPort->currentIndex();
    return index >= 0 ? ui->cbPort->itemText(index) : PortText(serialPort_.CommPort());
}

void TForm3::cbPortChange() {
    if (exchangeRunning_) {
        return;
    }
    const QString selected = SelectedPort();
    // Typed text that named no item has no business in the box any more.
    ui->cbPort->setEditText(selected);
    serialPort_.SetActive(false);
    serialPort_.SetCommPort(selected.toLocal8Bit().toStdString());
    serialPort_.SetActive(true);
    ShowPortState();
    if (MainWindow* mainWindow = context_.windows.main) {
        mainWindow->ShowUnitText(PortText(serialPort_.CommPort()));
        mainWindow->ShowCommsCaption(selected + QStringLiteral(" Interval"));
    }
    bRefreshClick();
}

// Typed text that names a listed port (as the device it opens) chooses that item; any other
// text gives way to the selected item's name.
void TForm3::cbPortTextEntered() {
    const QString typed = ui->cbPort->currentText();
    const int index = PortChoice::IndexOf(Items(*ui->cbPort), typed);
    if (index < 0 || index == ui->cbPort->currentIndex()) {
        ui->cbPort->setEditText(SelectedPort());
        return;
    }
    ui->cbPort->setCurrentIndex(index);
    cbPortChange();
}

void TForm3::ShowPortState() {
    const QString failure = QString::fromLocal8Bit(serialPort_.LastOpenFailure());
    ui->lPortState->setText(failure.isEmpty() ? QString() : QStringLiteral("Not open. ") + failure);
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->cbPort->lineEdit() && event->type() == QEvent::MouseButtonDblClick) {
        cbPortChange();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
